#include "e2e/excel_standin.h"

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "win32/com/com_object.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::e2e {
namespace {

using win32::Utf8ToWide;
using win32::WideToUtf8;

Value FromVariant(const VARIANT& v) {
  const VARIANT* p = &v;
  switch (V_VT(p) & ~VT_BYREF) {
    case VT_BSTR: {
      BSTR b = (V_VT(p) & VT_BYREF) ? *V_BSTRREF(p) : V_BSTR(p);
      return Value::Text(b ? WideToUtf8(std::wstring_view(b, SysStringLen(b))) : std::string());
    }
    case VT_I2:
      return Value::I2((V_VT(p) & VT_BYREF) ? *V_I2REF(p) : V_I2(p));
    case VT_I4:
      return Value::I4((V_VT(p) & VT_BYREF) ? *V_I4REF(p) : V_I4(p));
    case VT_BOOL:
      return Value::Bool(((V_VT(p) & VT_BYREF) ? *V_BOOLREF(p) : V_BOOL(p)) != VARIANT_FALSE);
    default:
      return Value::Text("<vt " + std::to_string(V_VT(p)) + ">");
  }
}

class Enumerator final : public win32::ComObject<IEnumVARIANT> {
 public:
  explicit Enumerator(std::vector<IDispatch*> items) : items_(std::move(items)) {}
  STDMETHODIMP Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    ULONG n = 0;
    while (n < count && at_ < items_.size()) {
      VariantInit(&out[n]);
      V_VT(&out[n]) = VT_DISPATCH;
      V_DISPATCH(&out[n]) = items_[at_++];
      V_DISPATCH(&out[n])->AddRef();
      ++n;
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    at_ += count;
    return at_ <= items_.size() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    at_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

 private:
  ~Enumerator() override {
    for (IDispatch* d : items_) d->Release();
  }
  std::vector<IDispatch*> items_;
  std::size_t at_ = 0;
};

class Adapter final : public win32::ComObject<IDispatch> {
 public:
  Adapter(std::shared_ptr<LateBound> object, std::shared_ptr<StandInControl> control)
      : object_(std::move(object)), control_(std::move(control)) {}

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

  // Every name is known; ids are handed out in order of first use.
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    if (Busy()) return RPC_E_CALL_REJECTED;
    for (UINT i = 0; i < count; ++i) {
      const std::string name = WideToUtf8(names[i]);
      auto it = ids_.find(name);
      if (it == ids_.end()) it = ids_.emplace(name, static_cast<DISPID>(ids_.size() + 1)).first;
      ids[i] = it->second;
    }
    return S_OK;
  }

  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                      UINT*) override {
    if (Busy()) return RPC_E_CALL_REJECTED;
    if (id == DISPID_NEWENUM) return Enumerate(result, excep);
    std::string member;
    for (const auto& [name, known] : ids_) {
      if (known == id) member = name;
    }
    if (member.empty()) return DISP_E_MEMBERNOTFOUND;

    std::vector<Arg> args;
    const UINT positional = params ? params->cArgs - params->cNamedArgs : 0;
    for (UINT i = 0; i < positional; ++i) {
      const VARIANT& v = params->rgvarg[params->cArgs - 1 - i];  // back to front
      args.push_back(Arg{FromVariant(v), (V_VT(&v) & VT_BYREF) != 0});
    }
    CallResult r;
    if (flags & DISPATCH_PROPERTYPUT) {
      if (!params || params->cArgs < 1) return DISP_E_BADPARAMCOUNT;
      r = object_->Put(member, FromVariant(params->rgvarg[0]));
    } else if (flags == DISPATCH_METHOD) {
      r = object_->Call(member, std::move(args));
    } else {
      r = object_->Get(member, std::move(args));
    }
    if (!r.ok) return Exception(excep, r.error);
    if (result) ToVariant(r.value, *result);
    return S_OK;
  }

 private:
  ~Adapter() = default;

  bool Busy() {
    if (control_->rejectNextCalls <= 0) return false;
    --control_->rejectNextCalls;
    ++control_->rejected;
    return true;
  }

  HRESULT Exception(EXCEPINFO* excep, const std::string& text) {
    if (excep) {
      ZeroMemory(excep, sizeof *excep);
      excep->scode = DISP_E_EXCEPTION;
      excep->bstrSource = SysAllocString(L"Excel");
      excep->bstrDescription = SysAllocString(Utf8ToWide(text).c_str());
    }
    return DISP_E_EXCEPTION;
  }

  HRESULT Enumerate(VARIANT* result, EXCEPINFO* excep) {
    auto items = object_->Enumerate();
    if (auto* error = std::get_if<std::string>(&items)) return Exception(excep, *error);
    std::vector<IDispatch*> dispatches;
    for (auto& item : std::get<std::vector<Value::Object>>(items)) dispatches.push_back(MakeDispatch(item, control_));
    if (result) {
      VariantInit(result);
      V_VT(result) = VT_UNKNOWN;
      V_UNKNOWN(result) = new Enumerator(std::move(dispatches));
    }
    return S_OK;
  }

  void ToVariant(const Value& value, VARIANT& out) {
    VariantInit(&out);
    if (const auto* b = std::get_if<bool>(&value.v)) {
      V_VT(&out) = VT_BOOL;
      V_BOOL(&out) = *b ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (const auto* i2 = std::get_if<std::int16_t>(&value.v)) {
      V_VT(&out) = VT_I2;
      V_I2(&out) = *i2;
    } else if (const auto* i4 = std::get_if<std::int32_t>(&value.v)) {
      V_VT(&out) = VT_I4;
      V_I4(&out) = *i4;
    } else if (const auto* s = std::get_if<std::string>(&value.v)) {
      V_VT(&out) = VT_BSTR;
      V_BSTR(&out) = SysAllocString(Utf8ToWide(*s).c_str());
    } else if (const auto* o = std::get_if<Value::Object>(&value.v); o && *o) {
      V_VT(&out) = VT_DISPATCH;
      V_DISPATCH(&out) = MakeDispatch(*o, control_);
    }
  }

  std::shared_ptr<LateBound> object_;
  std::shared_ptr<StandInControl> control_;
  std::map<std::string, DISPID> ids_;
};

}  // namespace

IDispatch* MakeDispatch(std::shared_ptr<LateBound> object, std::shared_ptr<StandInControl> control) {
  return new Adapter(std::move(object), std::move(control));
}

}  // namespace atrybuty::e2e
