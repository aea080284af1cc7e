#pragma once
// What the dialogs need of the process that owns them: its instance and
// hidden owner window, its message loops, the controller's services, and a
// word when a dialog is loaded or unloaded (the process's life depends on it).

#include <windows.h>

#include <functional>

#include "core/form1/form1_controller.h"

namespace atrybuty::win32 {

class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual HINSTANCE Instance() const = 0;
  virtual HWND OwnerWindow() const = 0;
  // A nested loop that runs while `shown()` holds (modal dialogs). It ends
  // early, passing the quit on, when the process is asked to end.
  virtual void RunModalLoop(const std::function<bool()>& shown) = 0;
  // Processes the messages that are waiting, then returns.
  virtual void PumpWaitingMessages() = 0;
  // Waits up to `milliseconds` for `handle` (or for the time, with none)
  // while the messages keep being processed; true when the handle was signalled.
  virtual bool WaitPumping(HANDLE handle, DWORD milliseconds) = 0;
  virtual void OnDialogsChanged() = 0;
  // Form1's controller services; `elevation` is the dialog's own.
  virtual Form1Services ControllerServices(Elevation& elevation) = 0;
  // The colour dialog's custom colours, kept as long as the process runs.
  virtual COLORREF* CustomColours() = 0;
};

}  // namespace atrybuty::win32
