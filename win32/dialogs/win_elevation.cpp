#include "win32/dialogs/win_elevation.h"

#include <shellapi.h>

#include <vector>

#include "win32/command_line.h"
#include "win32/handles.h"
#include "win32/system_message.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {

ElevationResult WinElevation::WriteAsAdministrator(const ElevatedWrite& request) {
  std::wstring exe = program_;
  if (exe.empty()) {
    std::vector<wchar_t> own(MAX_PATH);
    for (;;) {
      const DWORD n = GetModuleFileNameW(nullptr, own.data(), static_cast<DWORD>(own.size()));
      if (n == 0)
        return {ElevationOutcome::CannotStart, 0, WideToUtf8(SystemMessage(HRESULT_FROM_WIN32(GetLastError())))};
      if (n < own.size()) break;
      own.resize(own.size() * 2);
    }
    exe = own.data();
  }
  std::wstring parameters = kWriteRecordSwitch;
  for (const std::string& argument : ElevatedWriteArguments(request)) {
    parameters += L" " + QuoteArgument(Utf8ToWide(argument));
  }

  HWND owner = owner_();
  SHELLEXECUTEINFOW run{};
  run.cbSize = sizeof run;
  // The dialog tells the user itself when the program cannot be started.
  run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  run.hwnd = owner;
  run.lpVerb = L"runas";  // the UAC prompt
  run.lpFile = exe.c_str();
  run.lpParameters = parameters.c_str();
  run.nShow = SW_HIDE;
  if (!ShellExecuteExW(&run)) {
    const DWORD error = GetLastError();
    if (error == ERROR_CANCELLED) return {ElevationOutcome::Declined, 0, {}};
    return {ElevationOutcome::CannotStart, 0, WideToUtf8(SystemMessage(HRESULT_FROM_WIN32(error)))};
  }
  KernelHandle process(run.hProcess);
  if (!process) return {ElevationOutcome::CannotStart, 0, {}};

  // The dialog keeps painting while it waits, and takes no input meanwhile.
  const bool wasEnabled = owner && IsWindowEnabled(owner);
  if (wasEnabled) EnableWindow(owner, FALSE);
  host_.WaitPumping(process.Get(), INFINITE);
  if (wasEnabled && IsWindow(owner)) EnableWindow(owner, TRUE);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.Get(), &exitCode);
  return {ElevationOutcome::Ran, exitCode, {}};
}

}  // namespace atrybuty::win32
