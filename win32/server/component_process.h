#pragma once
// The one owner of the server process's state: the process-wide values the
// dialogs share (TheAttribute, HostExcel, FromExec, ViewerMode, MultiPackage,
// ConfigTempPath), the platform services, the two dialogs, and the rules of
// the process's life: it runs while an object exists, a host locks it or a
// dialog is on screen, and leaves by itself when none holds. Only the
// server's entry point sees it: the dialogs reach it as their DialogHost,
// the COM classes as their ObjectRegistry.

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/component/process_lifetime.h"
#include "core/component/process_state.h"
#include "core/component/run_form.h"
#include "core/form1/form1_controller.h"
#include "core/mapfile/journal.h"
#include "win32/com/com_ptr.h"
#include "win32/com/object_registry.h"
#include "win32/config/win_registry.h"
#include "win32/config/win_temp_files.h"
#include "win32/dialogs/dialog_host.h"
#include "win32/dialogs/form1_host.h"
#include "win32/dialogs/message_boxes.h"
#include "win32/dialogs/package_dialog.h"
#include "win32/mapfile/win_data_files.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {

class ComponentProcess final : public DialogHost, public ObjectRegistry, public Form1Exits {
 public:
  // `startedByCom`: the process was started to serve an activation; it
  // leaves when no object arrives within the start timeout.
  ComponentProcess(HINSTANCE instance, bool startedByCom);
  ~ComponentProcess() override;
  ComponentProcess(const ComponentProcess&) = delete;
  ComponentProcess& operator=(const ComponentProcess&) = delete;

  // The main message loop, serving the class objects of these cookies;
  // returns when the process should end, with the class objects revoked.
  int Run(std::vector<DWORD> classCookies);
  // Before COM is uninitialised: the dialogs go and the host's objects are
  // released, while COM can still release them.
  void Shutdown();

  // ObjectRegistry
  void OnObjectCreated(std::shared_ptr<AttributeData> attribute) override;
  void OnObjectDestroyed() override;
  void LockServer(bool lock) override;
  void ReleaseErrorAfterCall() override;
  ITypeInfo* TypeInfo(REFIID iid) const override;
  void SetHostExcel(IDispatch* excel) override;
  ComPtr<IDispatch> HostExcel() const override { return ComPtr<IDispatch>::Share(hostExcel_.Get()); }
  std::optional<HostError> RunForm(const AttributeData& self) override;

  // DialogHost
  HINSTANCE Instance() const override { return instance_; }
  HWND OwnerWindow() const override { return owner_; }
  void RunModalLoop(const std::function<bool()>& shown) override;
  void PumpWaitingMessages() override;
  bool WaitPumping(HANDLE handle, DWORD milliseconds) override;
  void OnDialogsChanged() override { lifetime_.Changed(); }
  Form1Services ControllerServices(Elevation& elevation) override;
  COLORREF* CustomColours() override { return customColours_; }

  // Form1Exits
  void UnloadMainDialog() override;
  void UnloadPackageDialog() override;
  std::optional<HostError> RunFormAgain() override;
  void EndProcess() override;

 private:
  static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  bool HandleDialogMessage(MSG& msg);
  // The process's part in what holds it: a dialog shown or busy.
  bool DialogsHold() const;
  void Leave();
  // A busy host is asked again after this wait: the dialog keeps painting
  // and takes no input meanwhile.
  void WaitForBusyHost(std::chrono::milliseconds time);

  HINSTANCE instance_;
  HWND owner_ = nullptr;  // hidden window: owns the package dialog, runs timers
  ComPtr<ITypeLib> typeLibrary_;
  mutable std::map<GUID, ComPtr<ITypeInfo>, bool (*)(const GUID&, const GUID&)> typeInfos_;
  ComPtr<IDispatch> hostExcel_;
  ProcessState state_;

  WinRegistry registry_;
  WinTempFiles temp_;
  AnsiCodec codec_;
  WinMessageBoxes messages_;
  WinDataFiles files_;
  std::unique_ptr<Journal> journal_;
  PackageDialogWindow packageDialog_;
  Form1Host form1_;
  COLORREF customColours_[16] = {};

  ProcessLifetime lifetime_;
  std::vector<DWORD> classCookies_;
};

}  // namespace atrybuty::win32
