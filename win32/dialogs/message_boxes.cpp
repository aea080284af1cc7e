#include "win32/dialogs/message_boxes.h"

#include <windows.h>

#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {

MessageAnswer WinMessageBoxes::Show(const std::string& text, MessageKind kind,
                                    const std::optional<std::string>& caption) {
  UINT style = MB_SETFOREGROUND;
  switch (kind) {
    case MessageKind::InfoOk:
      style |= MB_OK | MB_ICONINFORMATION;
      break;
    case MessageKind::CriticalOk:
      style |= MB_OK | MB_ICONERROR;
      break;
    case MessageKind::PlainOk:
      style |= MB_OK;
      break;
    case MessageKind::YesNoInfo:
      style |= MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON1;
      break;
  }
  // Modal to the dialog the user is working in, when there is one.
  HWND owner = GetActiveWindow();
  const int answer =
      MessageBoxW(owner, Utf8ToWide(text).c_str(), Utf8ToWide(caption.value_or(kAppTitle)).c_str(), style);
  if (answer == IDYES) return MessageAnswer::Yes;
  if (answer == IDNO) return MessageAnswer::No;
  return MessageAnswer::Ok;
}

}  // namespace atrybuty::win32
