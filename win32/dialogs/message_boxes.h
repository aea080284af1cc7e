#pragma once
// Message boxes with Windows' MessageBoxW, owned by the dialog the user is in.

#include "core/form1/message_boxes.h"

namespace atrybuty::win32 {

class WinMessageBoxes final : public MessageBoxes {
 public:
  MessageAnswer Show(const std::string& text, MessageKind kind, const std::optional<std::string>& caption) override;
};

}  // namespace atrybuty::win32
