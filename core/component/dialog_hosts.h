#pragma once
// The two dialogs as `RunForm` drives them. Both are single shared
// instances: first use loads them, hiding keeps them, unloading discards them.

#include <optional>
#include <string>

#include "core/form1/form1_controller.h"

namespace atrybuty {

// FrmWybor, the package dialog.
class PackageDialog {
 public:
  virtual ~PackageDialog() = default;
  virtual bool IsLoaded() const = 0;
  // Removes every line (loading the dialog if needed).
  virtual void Clear() = 0;
  // Appends a line showing `text` (UTF-8) that stands for `value`.
  virtual void AddItem(const std::string& text, const std::string& value) = 0;
  virtual void SelectIndex(int index) = 0;
  // Shows the dialog modally until the user presses OK (the dialog is then
  // hidden, keeping its lines) or closes it (it is then unloaded). Returns the
  // value of the chosen line, or empty text when nothing was chosen.
  virtual std::string ShowModalAndChoose() = 0;
  virtual void Unload() = 0;
};

// Form1, the main dialog, as far as `RunForm` needs it.
class MainDialog {
 public:
  virtual ~MainDialog() = default;
  virtual bool IsLoaded() const = 0;
  // Sets the caption, loading the dialog first if it is not loaded; loading
  // runs its load step, whose failure is returned (the dialog is then unloaded).
  virtual std::optional<HostError> SetCaption(const std::string& caption, const std::string& packageName) = 0;
  // The package the loaded dialog shows (UTF-8); empty when it is not loaded.
  virtual std::string LoadedPackage() const = 0;
  virtual void Unload() = 0;
  virtual void ShowModeless() = 0;
  // Returns when the dialog is hidden or unloaded.
  virtual void ShowModal() = 0;
  // Viewer starts: "Nie odświeżaj arkusza" ticked and hidden, "Wybierz mapę" hidden.
  virtual void TickAndHideRefreshCheck() = 0;
  virtual void HideChangeButton() = 0;
};

}  // namespace atrybuty
