#pragma once
// The shared Form1 instance as RunForm and the exits see it: loading,
// unloading, modeless and modal showing. Unloading a dialog whose handler is
// still running (cancel, choose another map) only destroys its window; the
// rest of it goes once no handler of it runs any more.

#include <windows.h>

#include <memory>
#include <vector>

#include "core/component/dialog_hosts.h"
#include "win32/dialogs/dialog_host.h"
#include "win32/dialogs/form1_window.h"

namespace atrybuty::win32 {

class Form1Host final : public MainDialog {
 public:
  explicit Form1Host(DialogHost& dialogs) : dialogs_(dialogs) {}
  ~Form1Host() override;

  bool IsLoaded() const override { return current_ != nullptr; }
  std::optional<HostError> SetCaption(const std::string& caption, const std::string& packageName) override;
  std::string LoadedPackage() const override { return current_ ? current_->PackageName() : std::string(); }
  void Unload() override;
  void ShowModeless() override;
  void ShowModal() override;
  void TickAndHideRefreshCheck() override;
  void HideChangeButton() override;

  HWND Handle() const { return current_ ? current_->Handle() : nullptr; }
  // Form_Terminate: the shared instance ends with the process.
  void Terminate();

  // A handler of the dialog (or its load) runs while one of these lives,
  // however the handler ends.
  class HandlerScope {
   public:
    explicit HandlerScope(Form1Host& host) : host_(host) { ++host_.handlersRunning_; }
    ~HandlerScope() { host_.LeaveHandler(); }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

   private:
    Form1Host& host_;
  };
  bool HandlerRunning() const { return handlersRunning_ > 0; }

 private:
  void LeaveHandler();

  DialogHost& dialogs_;
  std::unique_ptr<Form1Window> current_;
  std::vector<std::unique_ptr<Form1Window>> unloaded_;
  int handlersRunning_ = 0;
};

}  // namespace atrybuty::win32
