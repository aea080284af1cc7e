#pragma once
// FrmWybor: the dialog in which the user picks one of several map packages.

#include <windows.h>

#include <string>
#include <vector>

#include "core/component/dialog_hosts.h"
#include "win32/dialogs/dialog_host.h"
#include "win32/handles.h"

namespace atrybuty::win32 {

class PackageDialogWindow final : public PackageDialog {
 public:
  explicit PackageDialogWindow(DialogHost& dialogs) : dialogs_(dialogs) {}
  ~PackageDialogWindow() override;

  bool IsLoaded() const override { return hwnd_ != nullptr; }
  void Clear() override;
  void AddItem(const std::string& text, const std::string& value) override;
  void SelectIndex(int index) override;
  std::string ShowModalAndChoose() override;
  void Unload() override;
  HWND Handle() const { return hwnd_; }

 private:
  void Load();
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Layout(UINT dpi);

  DialogHost& dialogs_;
  HWND hwnd_ = nullptr;
  FontHandle font_;
  std::vector<std::string> values_;  // the package each line stands for (ANSI)
};

}  // namespace atrybuty::win32
