#pragma once
// Message boxes, as the dialogs and RunForm show them.

#include <optional>
#include <string>

namespace atrybuty {

// The caption of boxes that have none of their own.
inline constexpr char kAppTitle[] = "Atrybuty";
inline constexpr char kDialogCaption[] = "Zmiana atrybutów linii";

enum class MessageKind {
  InfoOk,      // OK, information icon
  CriticalOk,  // OK, critical (stop) icon
  PlainOk,     // OK, no icon
  YesNoInfo,   // Yes and No, Yes the default, information icon
};

enum class MessageAnswer { Ok, Yes, No };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Shows a modal message box; without a caption it bears the application's title.
  virtual MessageAnswer Show(const std::string& text, MessageKind kind,
                             const std::optional<std::string>& caption = std::nullopt) = 0;
};

}  // namespace atrybuty
