#include "win32/com/attribute_object.h"

#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {

AttributeObject::AttributeObject(ObjectRegistry& registry)
    : AttributeObject(registry, std::make_shared<AttributeData>()) {}

AttributeObject::AttributeObject(ObjectRegistry& registry, std::shared_ptr<AttributeData> data)
    : DualObject(registry, data), data_(std::move(data)) {}

STDMETHODIMP AttributeObject::RunForm() {
  return Guarded(Registry(), [&] {
    // The host may release the object while its dialogs run: this reference
    // keeps it, and goes however the run ends.
    const ComPtr<_MorvalyClsAttribute> keep = ComPtr<_MorvalyClsAttribute>::Share(this);
    const auto error = Registry().RunForm(*data_);
    if (error) return ReportAutomationError(AutomationErrorOf(error->kind), Utf8ToWide(error->description), &Registry());
    return S_OK;
  });
}

STDMETHODIMP AttributeObject::putref_Excel(IDispatch* excel) {
  return Guarded(Registry(), [&] {
    Registry().SetHostExcel(excel);
    return S_OK;
  });
}

STDMETHODIMP AttributeObject::get_Excel(IDispatch** excel) {
  if (!excel) return E_POINTER;
  *excel = Registry().HostExcel().Detach();
  return S_OK;
}

HRESULT AttributeObject::PutText(std::string AttributeData::*field, BSTR value) {
  return Guarded(Registry(), [&] {
    (*data_).*field = WideToUtf8(value ? std::wstring_view(value, SysStringLen(value)) : std::wstring_view());
    return S_OK;
  });
}

HRESULT AttributeObject::GetText(std::string AttributeData::*field, BSTR* value) {
  if (!value) return E_POINTER;
  return Guarded(Registry(), [&] { return ReturnBstr(Utf8ToWide((*data_).*field), value); });
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

}  // namespace atrybuty::win32
