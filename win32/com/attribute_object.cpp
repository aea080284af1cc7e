#include "win32/com/attribute_object.h"

#include <new>

#include "win32/com/error_info.h"
#include "win32/server/component_process.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {
namespace {

// No exception ever leaves a COM method: each body runs through this.
template <typename F>
HRESULT Guarded(ServerLock& lock, F&& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return ReportAutomationError(E_OUTOFMEMORY, L"Za mało pamięci.", &lock);
  } catch (...) {
    return ReportAutomationError(kUnexpectedFailure, L"Nieoczekiwany błąd składnika Atrybuty.", &lock);
  }
}

}  // namespace

AttributeObject::AttributeObject(ComponentProcess& process)
    : process_(process), data_(std::make_shared<AttributeData>()) {
  process_.OnObjectCreated(data_);
}

AttributeObject::~AttributeObject() { process_.OnObjectDestroyed(); }

STDMETHODIMP AttributeObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__MorvalyClsAttribute) {
    *out = static_cast<_MorvalyClsAttribute*>(this);
  } else if (iid == IID_ISupportErrorInfo) {
    *out = static_cast<ISupportErrorInfo*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) AttributeObject::AddRef() { return ++refs_; }

STDMETHODIMP_(ULONG) AttributeObject::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP AttributeObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP AttributeObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ITypeInfo* typeInfo = process_.TypeInfo();
  if (!typeInfo) return E_FAIL;
  typeInfo->AddRef();
  *info = typeInfo;
  return S_OK;
}

STDMETHODIMP AttributeObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  ITypeInfo* typeInfo = process_.TypeInfo();
  return typeInfo ? DispGetIDsOfNames(typeInfo, names, count, ids) : E_FAIL;
}

STDMETHODIMP AttributeObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* excep, UINT* argError) {
  ITypeInfo* typeInfo = process_.TypeInfo();
  if (!typeInfo) return E_FAIL;
  SetErrorInfo(0, nullptr);
  const HRESULT hr =
      typeInfo->Invoke(static_cast<_MorvalyClsAttribute*>(this), id, flags, params, result, excep, argError);
  if (FAILED(hr) && excep) {
    if (hr != DISP_E_EXCEPTION && hr != DISP_E_MEMBERNOTFOUND && hr != DISP_E_BADPARAMCOUNT &&
        hr != DISP_E_TYPEMISMATCH && hr != DISP_E_PARAMNOTOPTIONAL && hr != DISP_E_BADVARTYPE) {
      // A member failed: hand its description to a late-bound host too.
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
    return hr == DISP_E_MEMBERNOTFOUND || hr == DISP_E_BADPARAMCOUNT || hr == DISP_E_TYPEMISMATCH ||
                   hr == DISP_E_PARAMNOTOPTIONAL || hr == DISP_E_BADVARTYPE
               ? hr
               : DISP_E_EXCEPTION;
  }
  return hr;
}

STDMETHODIMP AttributeObject::RunForm() {
  return Guarded(process_, [&] {
    // Hold the object while its dialogs run: a host may release it meanwhile.
    AddRef();
    const auto error = process_.RunForm(*data_);
    Release();
    if (error) return ReportAutomationError(kRunFormFailed, Utf8ToWide(error->description), &process_);
    return S_OK;
  });
}

STDMETHODIMP AttributeObject::putref_Excel(IDispatch* excel) {
  return Guarded(process_, [&] {
    process_.SetHostExcel(excel);
    return S_OK;
  });
}

STDMETHODIMP AttributeObject::get_Excel(IDispatch** excel) {
  if (!excel) return E_POINTER;
  *excel = process_.HostExcel().Detach();
  return S_OK;
}

HRESULT AttributeObject::PutText(std::string AttributeData::*field, BSTR value) {
  return Guarded(process_, [&] {
    (*data_).*field = WideToUtf8(value ? std::wstring_view(value, SysStringLen(value)) : std::wstring_view());
    return S_OK;
  });
}

HRESULT AttributeObject::GetText(std::string AttributeData::*field, BSTR* value) {
  if (!value) return E_POINTER;
  return Guarded(process_, [&] {
    const std::wstring text = Utf8ToWide((*data_).*field);
    *value = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *value ? S_OK : E_OUTOFMEMORY;
  });
}

STDMETHODIMP AttributeObject::put_ShowNow(BSTR value) { return PutText(&AttributeData::showNow, value); }
STDMETHODIMP AttributeObject::get_ShowNow(BSTR* value) { return GetText(&AttributeData::showNow, value); }
STDMETHODIMP AttributeObject::put_Parent(BSTR value) { return PutText(&AttributeData::parent, value); }
STDMETHODIMP AttributeObject::get_Parent(BSTR* value) { return GetText(&AttributeData::parent, value); }
STDMETHODIMP AttributeObject::put_ActualMap(BSTR value) { return PutText(&AttributeData::actualMap, value); }
STDMETHODIMP AttributeObject::get_ActualMap(BSTR* value) { return GetText(&AttributeData::actualMap, value); }

STDMETHODIMP AttributeObject::put_IsChange(VARIANT_BOOL value) {
  data_->isChange = value != VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP AttributeObject::get_IsChange(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = data_->isChange ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP AttributeObject::InterfaceSupportsErrorInfo(REFIID iid) {
  return iid == IID__MorvalyClsAttribute ? S_OK : S_FALSE;
}

}  // namespace atrybuty::win32
