#pragma once
// MorvalyClsAttribute, the component's creatable class of the dialog: the
// properties a host sets and RunForm.

#include <windows.h>

#include <memory>

#include "atrybuty_h.h"
#include "core/component/process_state.h"
#include "win32/com/dual_object.h"

namespace atrybuty::win32 {

class AttributeObject final : public DualObject<_MorvalyClsAttribute> {
 public:
  explicit AttributeObject(ObjectRegistry& registry);

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

 private:
  AttributeObject(ObjectRegistry& registry, std::shared_ptr<AttributeData> data);
  HRESULT PutText(std::string AttributeData::*field, BSTR value);
  HRESULT GetText(std::string AttributeData::*field, BSTR* value);

  std::shared_ptr<AttributeData> data_;
};

}  // namespace atrybuty::win32
