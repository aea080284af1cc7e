#pragma once
// Errors for automation hosts: an HRESULT with a description that a VBA
// macro reads as Err.Number and Err.Description.

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "core/form1/form1_controller.h"
#include "win32/system_message.h"

namespace atrybuty::win32 {

// The numbers of the automation errors; a macro's Err.Number is the value
// as a signed 32-bit number (0x80040201 is -2147220991). They never change:
// macros test them.
constexpr HRESULT AutomationError(unsigned code) {
  return static_cast<HRESULT>(0x80040000u | code);  // SEVERITY_ERROR, FACILITY_ITF
}
inline constexpr HRESULT kConfigurationUnreadable = AutomationError(0x0201);
inline constexpr HRESULT kUnexpectedFailure = AutomationError(0x0202);
inline constexpr HRESULT kLayerCountMissing = AutomationError(0x0203);
inline constexpr HRESULT kLayerCountInvalid = AutomationError(0x0204);
inline constexpr HRESULT kNoLayers = AutomationError(0x0205);
inline constexpr HRESULT kDialogFailed = AutomationError(0x0206);
inline constexpr HRESULT kDialogBusy = AutomationError(0x0207);
// LineStyles, the class that works without windows.
inline constexpr HRESULT kPackageNotInstalled = AutomationError(0x0210);
inline constexpr HRESULT kLayerNotFound = AutomationError(0x0211);
inline constexpr HRESULT kNoRecord = AutomationError(0x0212);
inline constexpr HRESULT kDataFileUnreadable = AutomationError(0x0213);
inline constexpr HRESULT kAccessDenied = AutomationError(0x0214);
inline constexpr HRESULT kDataFileNotWritable = AutomationError(0x0215);
inline constexpr HRESULT kChangedSinceRead = AutomationError(0x0216);
inline constexpr HRESULT kWriteFailed = AutomationError(0x0217);
inline constexpr HRESULT kValueOutOfRange = AutomationError(0x0218);
inline constexpr HRESULT kUndoRefused = AutomationError(0x0219);
// 0x021A is not used: a change that is not in the journal is no item of Changes.
inline constexpr HRESULT kFileUnreadable = AutomationError(0x021B);
inline constexpr HRESULT kFileNotWritable = AutomationError(0x021C);
inline constexpr HRESULT kImportFileInvalid = AutomationError(0x021D);

// The error a host's RunForm ends with, by the kind of failure.
HRESULT AutomationErrorOf(HostErrorKind kind);

// Keeps the server process running while an object of it is in use.
class ServerLock {
 public:
  virtual ~ServerLock() = default;
  virtual void LockServer(bool lock) = 0;
  // An error was set on the thread for the call that is ending. COM hands it
  // to the caller with the reply; where it does not (Wine), it would stay on
  // the thread, holding its lock, until the next error: it is let go once
  // the call has ended.
  virtual void ReleaseErrorAfterCall() {}
};

// A member's failure as a late-bound host sees it: the description of the
// thread's error information moved into EXCEPINFO, and the DISP_E_ code
// IDispatch::Invoke returns for it.
HRESULT ToDispatchResult(HRESULT hr, EXCEPINFO* excep);

// Sets the thread's error information and returns `hr`. The error object
// lives in this process and the host may hold it after the call (VBScript
// keeps Err until the script ends), so it locks the server while it lives:
// a host must never be left holding an error of a server that has gone.
HRESULT ReportAutomationError(HRESULT hr, const std::wstring& description, ServerLock* lock,
                              const wchar_t* source = L"Atrybuty.MorvalyClsAttribute", REFGUID guid = GUID_NULL);

}  // namespace atrybuty::win32
