#pragma once
// The one owner of the server process's state: the process-wide values the
// dialogs share (TheAttribute, HostExcel, FromExec, ViewerMode, MultiPackage,
// ConfigTempPath), the platform services, the two dialogs, and the rules of
// the process's life: it runs while an object exists or a dialog is loaded,
// and leaves by itself when neither holds.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "win32/com/com_ptr.h"
#include "win32/com/error_info.h"
#include "core/component/process_state.h"
#include "core/component/run_form.h"
#include "win32/config/win_registry.h"
#include "win32/config/win_temp_files.h"
#include "core/form1/form1_controller.h"
#include "win32/dialogs/form1_host.h"
#include "win32/dialogs/message_boxes.h"
#include "win32/dialogs/package_dialog.h"
#include "core/mapfile/journal.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {

class ComponentProcess final : public Form1Exits, public ServerLock {
 public:
  // `startedByCom`: the process was started to serve an activation; it
  // leaves when no object arrives within the start timeout.
  ComponentProcess(HINSTANCE instance, bool startedByCom);
  ~ComponentProcess() override;
  ComponentProcess(const ComponentProcess&) = delete;
  ComponentProcess& operator=(const ComponentProcess&) = delete;

  // Objects.
  void OnObjectCreated(std::shared_ptr<AttributeData> data);
  void OnObjectDestroyed();
  void LockServer(bool lock) override;
  ITypeInfo* TypeInfo() const { return typeInfo_.Get(); }

  // The Excel property: one value for the whole process.
  void SetHostExcel(IDispatch* excel);
  ComPtr<IDispatch> HostExcel() const { return hostExcel_; }

  // RunForm for the object whose properties are `self`.
  std::optional<HostError> RunForm(const AttributeData& self);

  // Form1Exits
  void UnloadMainDialog() override;
  void UnloadPackageDialog() override;
  std::optional<HostError> RunFormAgain() override;
  void EndProcess() override;

  // The main message loop; returns when the process should end.
  int Run(DWORD classCookie);
  // A nested loop that runs while `shown()` holds (modal dialogs). It ends
  // early, passing the quit on, when the process is asked to end.
  void RunModalLoop(const std::function<bool()>& shown);
  // Processes the messages that are waiting, then returns.
  void PumpWaitingMessages();
  // Dialogs report their loading and unloading here.
  void OnDialogsChanged();

  HINSTANCE Instance() const { return instance_; }
  HWND OwnerWindow() const { return owner_; }
  ProcessState& State() { return state_; }
  Form1Services Services();
  COLORREF* CustomColours() { return customColours_; }

 private:
  static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  bool HandleDialogMessage(MSG& msg);
  // Whether anything keeps the process running now.
  bool Held() const;
  void MaybeLeave();
  void Leave();

  HINSTANCE instance_;
  HWND owner_ = nullptr;  // hidden window: owns the package dialog, runs timers
  ComPtr<ITypeInfo> typeInfo_;
  ComPtr<IDispatch> hostExcel_;
  ProcessState state_;

  WinRegistry registry_;
  WinTempFiles temp_;
  AnsiCodec codec_;
  WinMessageBoxes messages_;
  std::unique_ptr<Journal> journal_;
  PackageDialogWindow packageDialog_;
  Form1Host form1_;
  COLORREF customColours_[16] = {};

  long objects_ = 0;
  long locks_ = 0;
  bool objectSeen_ = false;
  bool startWaitOver_ = false;
  bool leaving_ = false;
  DWORD classCookie_ = 0;
};

}  // namespace atrybuty::win32
