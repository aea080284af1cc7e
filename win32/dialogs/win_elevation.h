#pragma once
// Writing one record as administrator: the server's own program, started
// elevated (a UAC prompt) with the request on its command line
// ("atrybuty.exe /WriteRecord ..."). While it runs the dialog takes no input
// but keeps painting.

#include <windows.h>

#include <functional>
#include <string>

#include "core/form1/elevation.h"
#include "win32/dialogs/dialog_host.h"

namespace atrybuty::win32 {

class WinElevation final : public Elevation {
 public:
  // `owner`: the dialog to hold off input from and to own the prompt;
  // `program`: the server's program (this process's own, when empty).
  WinElevation(DialogHost& host, std::function<HWND()> owner, std::wstring program = {})
      : host_(host), owner_(std::move(owner)), program_(std::move(program)) {}
  ElevationResult WriteAsAdministrator(const ElevatedWrite& request) override;

 private:
  DialogHost& host_;
  std::function<HWND()> owner_;
  std::wstring program_;
};

// The switch of atrybuty.exe that runs the elevated step.
inline constexpr wchar_t kWriteRecordSwitch[] = L"/WriteRecord";

}  // namespace atrybuty::win32
