#pragma once
// Errors for automation hosts: an HRESULT with a description that a VBA
// macro reads as Err.Description.

#include <windows.h>

#include <string>

namespace atrybuty::win32 {

// The error every failure of RunForm reaches the host with.
inline constexpr HRESULT kRunFormFailed = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);
inline constexpr HRESULT kUnexpectedFailure = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0202);

// Keeps the server process running while an object of it is in use.
class ServerLock {
 public:
  virtual ~ServerLock() = default;
  virtual void LockServer(bool lock) = 0;
};

// Sets the thread's error information and returns `hr`. The error object
// lives in this process and the host may hold it after the call (VBScript
// keeps Err until the script ends), so it locks the server while it lives:
// a host must never be left holding an error of a server that has gone.
HRESULT ReportAutomationError(HRESULT hr, const std::wstring& description, ServerLock* lock);

// A message for an HRESULT from the system, in the user's language.
std::wstring SystemMessage(HRESULT hr);

}  // namespace atrybuty::win32
