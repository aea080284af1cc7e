#pragma once
// Errors for automation hosts: an HRESULT with a description that a VBA
// macro reads as Err.Description.

#include <windows.h>

#include <string>

namespace atrybuty::win32 {

// The error every failure of RunForm reaches the host with.
inline constexpr HRESULT kRunFormFailed = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0201);
inline constexpr HRESULT kUnexpectedFailure = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_ITF, 0x0202);

// Sets the thread's error information and returns `hr`.
HRESULT ReportAutomationError(HRESULT hr, const std::wstring& description);

// A message for an HRESULT from the system, in the user's language.
std::wstring SystemMessage(HRESULT hr);

}  // namespace atrybuty::win32
