#pragma once
// A creatable automation object with a dual interface: IUnknown from the COM
// base, IDispatch served from the type library (late-bound and early-bound
// hosts see the same members), ISupportErrorInfo for that interface, and the
// object counted by the process while it lives.

#include <windows.h>
#include <oaidl.h>

#include <new>

#include "win32/com/com_object.h"
#include "win32/com/object_registry.h"

namespace atrybuty::win32 {

// Runs a COM method's body: no exception ever leaves a COM method. The error
// names the class whose method failed (`source`, `iid`).
template <typename F>
HRESULT Guarded(ServerLock& lock, F&& body, const wchar_t* source = L"Atrybuty.MorvalyClsAttribute",
                REFGUID iid = GUID_NULL) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return ReportAutomationError(E_OUTOFMEMORY, L"Za mało pamięci.", &lock, source, iid);
  } catch (...) {
    return ReportAutomationError(kUnexpectedFailure, L"Nieoczekiwany błąd składnika Atrybuty.", &lock, source, iid);
  }
}

template <typename Dual, typename... Others>
class DualObject : public ComObject<Dual, ISupportErrorInfo, Others...> {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* typeInfo = TypeInfo();
    if (!typeInfo) return E_FAIL;
    typeInfo->AddRef();
    *info = typeInfo;
    return S_OK;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    ITypeInfo* typeInfo = TypeInfo();
    return typeInfo ? DispGetIDsOfNames(typeInfo, names, count, ids) : E_FAIL;
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                      UINT* argError) override {
    ITypeInfo* typeInfo = TypeInfo();
    if (!typeInfo) return E_FAIL;
    SetErrorInfo(0, nullptr);
    const HRESULT hr = typeInfo->Invoke(static_cast<Dual*>(this), id, flags, params, result, excep, argError);
    // Colours are OLE_COLOR (unsigned) for VBA; VBScript cannot compare an
    // unsigned number, and a 24-bit colour is the same as a signed one.
    if (SUCCEEDED(hr) && result && V_VT(result) == VT_UI4) VariantChangeType(result, result, 0, VT_I4);
    return ToDispatchResult(hr, excep);
  }
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override { return iid == __uuidof(Dual) ? S_OK : S_FALSE; }

 protected:
  // `attribute`: see ObjectRegistry::OnObjectCreated.
  explicit DualObject(ObjectRegistry& registry, std::shared_ptr<AttributeData> attribute = nullptr)
      : registry_(registry) {
    registry_.OnObjectCreated(std::move(attribute));
  }
  ~DualObject() override { registry_.OnObjectDestroyed(); }
  ObjectRegistry& Registry() const { return registry_; }

 private:
  ITypeInfo* TypeInfo() const { return registry_.TypeInfo(__uuidof(Dual)); }
  ObjectRegistry& registry_;
};

}  // namespace atrybuty::win32
