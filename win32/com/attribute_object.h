#pragma once
// MorvalyClsAttribute, the component's one creatable class. Its IDispatch is
// served from the type library, so late-bound and early-bound hosts see the
// same members.

#include <windows.h>

#include <atomic>
#include <memory>

#include "atrybuty_h.h"
#include "core/component/process_state.h"

namespace atrybuty::win32 {

class ComponentProcess;

class AttributeObject final : public _MorvalyClsAttribute, public ISupportErrorInfo {
 public:
  explicit AttributeObject(ComponentProcess& process);

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excep, UINT* argError) override;

  // _MorvalyClsAttribute
  STDMETHODIMP RunForm() override;
  STDMETHODIMP putref_Excel(IDispatch* excel) override;
  STDMETHODIMP get_Excel(IDispatch** excel) override;
  STDMETHODIMP put_ShowNow(BSTR value) override;
  STDMETHODIMP get_ShowNow(BSTR* value) override;
  STDMETHODIMP put_Parent(BSTR value) override;
  STDMETHODIMP get_Parent(BSTR* value) override;
  STDMETHODIMP put_IsChange(VARIANT_BOOL value) override;
  STDMETHODIMP get_IsChange(VARIANT_BOOL* value) override;
  STDMETHODIMP put_ActualMap(BSTR value) override;
  STDMETHODIMP get_ActualMap(BSTR* value) override;

  // ISupportErrorInfo
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  ~AttributeObject();
  HRESULT PutText(std::string AttributeData::*field, BSTR value);
  HRESULT GetText(std::string AttributeData::*field, BSTR* value);

  std::atomic<ULONG> refs_{1};
  ComponentProcess& process_;
  std::shared_ptr<AttributeData> data_;
};

}  // namespace atrybuty::win32
