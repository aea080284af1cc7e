#pragma once
// Driving the server's dialogs from the test host the way a person would:
// windows found by caption, clicks and selections posted (a sent click whose
// handler calls back into the host would deadlock), and every wait a poll
// with a timeout that keeps serving the host's own messages, so callbacks
// into the host's Excel stand-in are answered meanwhile.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace atrybuty::e2e {

using namespace std::chrono_literals;
inline constexpr auto kWait = 10s;

// Serves the calling thread's messages for a while.
void Pump(std::chrono::milliseconds time = 20ms);
// Polls `done` every 20 ms, pumping messages, until it holds or time runs out.
bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = kWait);

// A visible top-level dialog (class #32770) with exactly this caption.
HWND FindDialog(const std::wstring& caption);
HWND WaitForDialog(const std::wstring& caption, std::chrono::milliseconds timeout = kWait);
HWND FindDialogStartingWith(const std::wstring& captionStart);
HWND FindTopLevelColourDialog();
bool WaitGone(HWND window, std::chrono::milliseconds timeout = kWait);

std::wstring Text(HWND window);
std::wstring ItemText(HWND dialog, int id);
bool Visible(HWND dialog, int id);
bool Enabled(HWND dialog, int id);

void Click(HWND dialog, int id);                   // posted BN_CLICKED
void SelectCombo(HWND dialog, int id, int index);  // CB_SETCURSEL, then a posted CBN_SELCHANGE
int ComboSelection(HWND dialog, int id);
int ComboCount(HWND dialog, int id);
std::wstring ComboItemText(HWND dialog, int id, int index);
std::vector<std::wstring> ListItems(HWND dialog, int id);
int ListSelection(HWND dialog, int id);
// The colour in the middle of a control, as drawn on the screen (0xBBGGRR).
COLORREF ColourAt(HWND dialog, int id);
// Whether the control shows `colour` once it has been painted (waits for it).
bool ShowsColour(HWND dialog, int id, COLORREF colour);

enum class Icon { None, Information, Error, Other };

struct MessageBoxSeen {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;
  Icon icon = Icon::None;
  std::vector<int> buttons;  // IDOK, IDYES, IDNO, ... that it has
  int defaultButton = 0;
};

// The next message box of the server process (a dialog owning the text static 65535).
std::optional<MessageBoxSeen> WaitForMessageBox(std::chrono::milliseconds timeout = kWait);
// Any message box open now, without waiting.
std::optional<MessageBoxSeen> OpenMessageBox();
// Answers a message box with a button and waits until it is gone.
void Answer(const MessageBoxSeen& box, int button);

// The Windows colour dialog over `owner`: confirm a colour or cancel.
HWND WaitForColourDialog();
void ConfirmColour(HWND colourDialog, int red, int green, int blue);
void CancelColourDialog(HWND colourDialog);

// A picture of a window as shown on screen, written as a PNG file.
bool SaveScreenshot(HWND window, const std::string& pngPath);
// The pixels of a part of the screen (0x00RRGGBB, rows top first).
std::vector<std::uint32_t> ScreenArea(const RECT& screenRect);

}  // namespace atrybuty::e2e
