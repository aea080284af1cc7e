#include "e2e/ui_driver.h"

#include <algorithm>
#include <cstring>
#include <thread>

#include "support/png_writer.h"

namespace atrybuty::e2e {
namespace {

std::wstring ClassName(HWND w) {
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  return name;
}

bool IsDialogClass(HWND w) { return ClassName(w) == L"#32770"; }

struct Search {
  std::function<bool(HWND)> match;
  HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  if (s->match(w)) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND FindTopLevel(const std::function<bool(HWND)>& match) {
  Search s{match, nullptr};
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

// Pixels (0x00RRGGBB, top row first) of a w x h picture that `draw` paints
// into a memory device context.
template <typename Draw>
std::vector<std::uint32_t> Paint(int w, int h, Draw draw) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  draw(memory, screen, static_cast<std::uint32_t*>(bits));
  GdiFlush();
  std::memcpy(pixels.data(), bits, pixels.size() * 4);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

std::vector<std::uint32_t> ScreenPixels(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  return Paint(w, h, [&](HDC memory, HDC screen, std::uint32_t*) {
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  });
}

// An icon drawn by this process on a background, as the control shows it.
std::vector<std::uint32_t> DrawnIcon(HICON icon, int w, int h, std::uint32_t background) {
  return Paint(w, h, [&](HDC memory, HDC, std::uint32_t* bits) {
    std::fill_n(bits, static_cast<std::size_t>(w) * h, background);
    DrawIconEx(memory, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  });
}

// Which system icon a message box shows: its icon is another process's
// handle, so the pictures on the screen are compared.
Icon IconOf(HWND box) {
  HWND iconControl = GetDlgItem(box, 1088);
  if (!iconControl || !IsWindowVisible(iconControl)) return Icon::None;
  RECT r;
  GetWindowRect(iconControl, &r);
  if (r.right - r.left < 16 || r.bottom - r.top < 16) return Icon::None;
  const auto shown = ScreenPixels(r);
  const std::uint32_t background = shown.front();  // a transparent corner of the icon
  const struct {
    LPCWSTR id;
    Icon icon;
  } candidates[] = {{IDI_INFORMATION, Icon::Information},
                    {IDI_ERROR, Icon::Error},
                    {IDI_WARNING, Icon::Other},
                    {IDI_QUESTION, Icon::Other}};
  for (const auto& c : candidates) {
    const auto drawn = DrawnIcon(LoadIconW(nullptr, c.id), r.right - r.left, r.bottom - r.top, background);
    std::size_t same = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) same += (shown[i] & 0xFFFFFF) == (drawn[i] & 0xFFFFFF);
    if (same * 100 >= shown.size() * 97) return c.icon;
  }
  return Icon::Other;
}

}  // namespace

void Pump(std::chrono::milliseconds time) {
  const auto end = std::chrono::steady_clock::now() + time;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (std::chrono::steady_clock::now() < end);
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    Pump(20ms);
  }
  return true;
}

HWND FindDialog(const std::wstring& caption) {
  return FindTopLevel([&](HWND w) { return IsWindowVisible(w) && IsDialogClass(w) && Text(w) == caption; });
}

HWND FindDialogStartingWith(const std::wstring& start) {
  return FindTopLevel([&](HWND w) { return IsWindowVisible(w) && IsDialogClass(w) && Text(w).rfind(start, 0) == 0; });
}

HWND FindTopLevelColourDialog() {
  return FindTopLevel([](HWND w) { return IsWindowVisible(w) && IsDialogClass(w) && GetDlgItem(w, 706); });
}

HWND WaitForDialog(const std::wstring& caption, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindDialog(caption)) != nullptr; }, timeout);
  return found;
}

bool WaitGone(HWND window, std::chrono::milliseconds timeout) {
  return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeout);
}

std::wstring Text(HWND window) {
  if (!window) return {};
  wchar_t buffer[4096] = {};
  // WM_GETTEXT is marshalled between processes for every window.
  SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000, nullptr);
  return buffer;
}

std::wstring ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }
bool Visible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void Click(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void SelectCombo(HWND dialog, int id, int index) {
  HWND combo = GetDlgItem(dialog, id);
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int ComboSelection(HWND dialog, int id) {
  return static_cast<int>(SendMessageW(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

int ComboCount(HWND dialog, int id) {
  return static_cast<int>(SendMessageW(GetDlgItem(dialog, id), CB_GETCOUNT, 0, 0));
}

std::wstring ComboItemText(HWND dialog, int id, int index) {
  HWND combo = GetDlgItem(dialog, id);
  const LRESULT n = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n < 0) return {};
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(n));
  return text;
}

std::vector<std::wstring> ListItems(HWND dialog, int id) {
  HWND list = GetDlgItem(dialog, id);
  std::vector<std::wstring> items;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT n = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<std::size_t>(n > 0 ? n : 0) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    items.push_back(text);
  }
  return items;
}

int ListSelection(HWND dialog, int id) {
  return static_cast<int>(SendMessageW(GetDlgItem(dialog, id), LB_GETCURSEL, 0, 0));
}

bool ShowsColour(HWND dialog, int id, COLORREF colour) {
  return WaitFor([&] { return ColourAt(dialog, id) == colour; });
}

COLORREF ColourAt(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  RECT r;
  GetWindowRect(control, &r);
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  ReleaseDC(nullptr, screen);
  return c;
}

std::optional<MessageBoxSeen> OpenMessageBox() {
  HWND box = FindTopLevel([](HWND w) {
    return IsWindowVisible(w) && IsDialogClass(w) && GetDlgItem(w, 65535) != nullptr && GetDlgItem(w, 706) == nullptr;
  });
  if (!box) return std::nullopt;
  MessageBoxSeen seen;
  seen.window = box;
  seen.caption = Text(box);
  seen.text = ItemText(box, 65535);
  seen.icon = IconOf(box);
  for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    HWND button = GetDlgItem(box, id);
    if (button && IsWindowVisible(button)) seen.buttons.push_back(id);
  }
  // The default button is drawn as one (Wine leaves DM_GETDEFID at IDOK).
  for (int id : seen.buttons) {
    if ((GetWindowLongPtrW(GetDlgItem(box, id), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen.defaultButton = id;
  }
  return seen;
}

std::optional<MessageBoxSeen> WaitForMessageBox(std::chrono::milliseconds timeout) {
  std::optional<MessageBoxSeen> seen;
  // A box may be visible before its text is set: wait for the text too
  // (every message of the component has one).
  WaitFor([&] { return (seen = OpenMessageBox()).has_value() && !seen->text.empty(); }, timeout);
  // The box may not be painted yet: look at its icon again for a moment.
  if (seen && seen->icon == Icon::Other) {
    WaitFor([&] { return (seen->icon = IconOf(seen->window)) != Icon::Other; }, 2s);
  }
  return seen;
}

void Answer(const MessageBoxSeen& box, int button) {
  PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(box.window, button)));
  WaitGone(box.window);
}

HWND WaitForColourDialog() {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindTopLevelColourDialog()) != nullptr; });
  return found;
}

void ConfirmColour(HWND colourDialog, int red, int green, int blue) {
  const int values[] = {red, green, blue};
  for (int i = 0; i < 3; ++i) {
    SendMessageW(GetDlgItem(colourDialog, 706 + i), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(std::to_wstring(values[i]).c_str()));
  }
  Click(colourDialog, IDOK);
  WaitGone(colourDialog);
}

void CancelColourDialog(HWND colourDialog) {
  Click(colourDialog, IDCANCEL);
  WaitGone(colourDialog);
}

std::vector<std::uint32_t> ScreenArea(const RECT& screenRect) { return ScreenPixels(screenRect); }

bool SaveScreenshot(HWND window, const std::string& pngPath) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  const std::vector<std::uint32_t> pixels = ScreenPixels(r);
  std::vector<std::uint8_t> rgb(pixels.size() * 3);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    rgb[i * 3] = static_cast<std::uint8_t>(pixels[i] >> 16);
    rgb[i * 3 + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
    rgb[i * 3 + 2] = static_cast<std::uint8_t>(pixels[i]);
  }
  return testing::WritePng(pngPath, w, h, rgb);
}

}  // namespace atrybuty::e2e
