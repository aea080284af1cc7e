#include "win32/com/error_info.h"

#include <oleauto.h>

#include <new>

#include "atrybuty_h.h"
#include "win32/com/com_object.h"
#include "win32/com/com_ptr.h"

namespace atrybuty::win32 {
namespace {

class ErrorObject final : public ComObject<IErrorInfo> {
 public:
  ErrorObject(std::wstring description, ServerLock* lock, std::wstring source, const GUID& guid)
      : description_(std::move(description)), source_(std::move(source)), guid_(guid), lock_(lock) {
    if (lock_) lock_->LockServer(true);
  }
  STDMETHODIMP GetGUID(GUID* guid) override {
    if (!guid) return E_POINTER;
    *guid = guid_;
    return S_OK;
  }
  STDMETHODIMP GetSource(BSTR* source) override { return ReturnBstr(source_, source); }
  STDMETHODIMP GetDescription(BSTR* description) override { return ReturnBstr(description_, description); }
  STDMETHODIMP GetHelpFile(BSTR* file) override { return ReturnBstr(L"", file); }
  STDMETHODIMP GetHelpContext(DWORD* context) override {
    if (!context) return E_POINTER;
    *context = 0;
    return S_OK;
  }

 private:
  ~ErrorObject() override {
    if (lock_) lock_->LockServer(false);
  }
  std::wstring description_;
  std::wstring source_;
  GUID guid_;
  ServerLock* lock_;
};

bool IsDispatchError(HRESULT hr) {
  return hr == DISP_E_EXCEPTION || hr == DISP_E_MEMBERNOTFOUND || hr == DISP_E_BADPARAMCOUNT ||
         hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTOPTIONAL || hr == DISP_E_BADVARTYPE;
}

}  // namespace

HRESULT AutomationErrorOf(HostErrorKind kind) {
  switch (kind) {
    case HostErrorKind::ConfigurationUnreadable:
      return kConfigurationUnreadable;
    case HostErrorKind::LayerCountMissing:
      return kLayerCountMissing;
    case HostErrorKind::LayerCountInvalid:
      return kLayerCountInvalid;
    case HostErrorKind::NoLayers:
      return kNoLayers;
    case HostErrorKind::DialogFailed:
      return kDialogFailed;
    case HostErrorKind::Busy:
      return kDialogBusy;
  }
  return kUnexpectedFailure;
}

HRESULT ToDispatchResult(HRESULT hr, EXCEPINFO* excep) {
  if (SUCCEEDED(hr) || !excep) return hr;
  if (!IsDispatchError(hr)) {
    // A member failed: hand its number and description to a late-bound host too.
    ComPtr<IErrorInfo> info;
    ZeroMemory(excep, sizeof *excep);
    excep->scode = hr;
    if (GetErrorInfo(0, info.Receive()) == S_OK && info) {
      info->GetSource(&excep->bstrSource);
      info->GetDescription(&excep->bstrDescription);
    }
  }
  // The description travels in EXCEPINFO; an error object left on the
  // thread would be sent along and outlive the call in the host.
  SetErrorInfo(0, nullptr);
  return IsDispatchError(hr) ? hr : DISP_E_EXCEPTION;
}

HRESULT ReportAutomationError(HRESULT hr, const std::wstring& description, ServerLock* lock, const wchar_t* source,
                              REFGUID guid) {
  ErrorObject* error =
      new (std::nothrow) ErrorObject(description, lock, source, guid == GUID_NULL ? IID__MorvalyClsAttribute : guid);
  if (!error) return hr;
  SetErrorInfo(0, error);
  error->Release();
  if (lock) lock->ReleaseErrorAfterCall();
  return hr;
}

}  // namespace atrybuty::win32
