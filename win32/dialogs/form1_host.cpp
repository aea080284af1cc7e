#include "win32/dialogs/form1_host.h"

#include "win32/resources/resource.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {

Form1Host::~Form1Host() {
  if (current_) current_->Destroy();
}

std::optional<HostError> Form1Host::SetCaption(const std::string& caption, const std::string& packageName) {
  if (!current_) {
    current_ = std::make_unique<Form1Window>(dialogs_, *this);
    dialogs_.OnDialogsChanged();
    std::optional<HostError> error;
    {
      const HandlerScope loading(*this);
      error = current_->Load(packageName);
      if (error) Unload();
    }
    if (error) return error;
  }
  SetWindowTextW(current_->Handle(), Utf8ToWide(caption).c_str());
  return std::nullopt;
}

void Form1Host::Unload() {
  if (!current_) return;
  current_->Destroy();
  unloaded_.push_back(std::move(current_));
  if (handlersRunning_ == 0) unloaded_.clear();
  dialogs_.OnDialogsChanged();
}

void Form1Host::LeaveHandler() {
  if (--handlersRunning_ > 0) return;
  unloaded_.clear();
  // A handler may have unloaded every dialog (cancel): the process may end now.
  dialogs_.OnDialogsChanged();
}

void Form1Host::ShowModeless() {
  if (!current_) return;
  ShowWindow(current_->Handle(), SW_SHOW);
  SetForegroundWindow(current_->Handle());
}

void Form1Host::ShowModal() {
  if (!current_) return;
  Form1Window* shown = current_.get();
  ShowWindow(shown->Handle(), SW_SHOW);
  SetForegroundWindow(shown->Handle());
  // Until it is hidden (apply in viewer mode) or unloaded (cancel, close).
  dialogs_.RunModalLoop([this, shown] { return current_.get() == shown && IsWindowVisible(shown->Handle()); });
}

void Form1Host::TickAndHideRefreshCheck() {
  if (!current_) return;
  current_->SetRefreshCheck(1);
  ShowWindow(GetDlgItem(current_->Handle(), IDC_CHKODSWIEZ), SW_HIDE);
}

void Form1Host::HideChangeButton() {
  if (current_) current_->ShowChangeButton(false);
}

void Form1Host::Terminate() {
  if (current_ && current_->Controller()) {
    const HandlerScope terminating(*this);
    current_->Controller()->Form_Terminate();
  }
  Unload();
}

}  // namespace atrybuty::win32
