#include "win32/host/dispatch_client.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "win32/system_message.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {
namespace {

bool HostBusy(HRESULT hr) { return hr == RPC_E_CALL_REJECTED || hr == RPC_E_SERVERCALL_RETRYLATER; }

std::string Describe(HRESULT hr, EXCEPINFO& excep) {
  if (hr == DISP_E_EXCEPTION) {
    if (excep.pfnDeferredFillIn) excep.pfnDeferredFillIn(&excep);
    std::string text = excep.bstrDescription ? WideToUtf8(excep.bstrDescription) : std::string();
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrHelpFile);
    excep = {};
    if (!text.empty()) return text;
  }
  if (HostBusy(hr)) {
    return "Excel jest zajęty (edytowana jest komórka albo otwarte jest okno dialogowe) i nie przyjmuje poleceń";
  }
  return WideToUtf8(SystemMessage(hr));
}

// Argument storage that outlives the call: VARIANTs by value, and the
// variables that by-reference arguments point at.
class Arguments {
 public:
  explicit Arguments(const std::vector<Arg>& args) {
    variants_.resize(args.size());
    // Back to front: the last argument comes first.
    for (std::size_t i = 0; i < args.size(); ++i) Fill(variants_[args.size() - 1 - i], args[i]);
  }
  ~Arguments() {
    for (VARIANT& v : variants_) {
      if (!(V_VT(&v) & VT_BYREF)) VariantClear(&v);
    }
    for (BSTR b : strings_) SysFreeString(b);
  }
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;
  VARIANT* Data() { return variants_.empty() ? nullptr : variants_.data(); }
  UINT Count() const { return static_cast<UINT>(variants_.size()); }

 private:
  void Fill(VARIANT& v, const Arg& arg) {
    VariantInit(&v);
    const Value& value = arg.value;
    if (const auto* s = std::get_if<std::string>(&value.v)) {
      const std::wstring w = Utf8ToWide(*s);
      BSTR b = SysAllocStringLen(w.data(), static_cast<UINT>(w.size()));
      if (arg.byRef) {
        strings_.push_back(b);
        V_VT(&v) = VT_BSTR | VT_BYREF;
        V_BSTRREF(&v) = &strings_.back();
      } else {
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = b;
      }
    } else if (const auto* i2 = std::get_if<std::int16_t>(&value.v)) {
      if (arg.byRef) {
        shorts_.push_back(*i2);
        V_VT(&v) = VT_I2 | VT_BYREF;
        V_I2REF(&v) = &shorts_.back();
      } else {
        V_VT(&v) = VT_I2;
        V_I2(&v) = *i2;
      }
    } else if (const auto* i4 = std::get_if<std::int32_t>(&value.v)) {
      V_VT(&v) = VT_I4;
      V_I4(&v) = *i4;
    } else if (const auto* b = std::get_if<bool>(&value.v)) {
      V_VT(&v) = VT_BOOL;
      V_BOOL(&v) = *b ? VARIANT_TRUE : VARIANT_FALSE;
    }
  }

  std::vector<VARIANT> variants_;
  std::deque<BSTR> strings_;  // deques keep the addresses by-reference arguments point at
  std::deque<short> shorts_;
};

class DispatchClient final : public LateBound {
 public:
  DispatchClient(ComPtr<IDispatch> object, RetryPolicy retry) : object_(std::move(object)), retry_(retry) {}

  CallResult Get(std::string_view member, std::vector<Arg> args) override {
    return Invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, nullptr);
  }
  CallResult Call(std::string_view member, std::vector<Arg> args) override {
    return Invoke(member, DISPATCH_METHOD, args, nullptr);
  }
  CallResult Put(std::string_view member, Value value) override {
    return Invoke(member, DISPATCH_PROPERTYPUT, {Arg{std::move(value), false}}, nullptr);
  }
  std::variant<std::vector<Value::Object>, std::string> Enumerate() override;

 private:
  // One call, asked again while the host says it is busy.
  HRESULT Attempt(const std::function<HRESULT()>& call) {
    const auto deadline = std::chrono::steady_clock::now() + retry_.total;
    for (;;) {
      const HRESULT hr = call();
      if (!HostBusy(hr) || std::chrono::steady_clock::now() >= deadline) return hr;
      retry_.wait(retry_.pause);
    }
  }

  CallResult Invoke(std::string_view member, WORD flags, const std::vector<Arg>& args, DISPID* knownId);
  CallResult Convert(VARIANT& result);

  ComPtr<IDispatch> object_;
  RetryPolicy retry_;
};

CallResult DispatchClient::Invoke(std::string_view member, WORD flags, const std::vector<Arg>& args, DISPID* knownId) {
  DISPID id = DISPID_VALUE;
  if (knownId) {
    id = *knownId;
  } else {
    std::wstring name = Utf8ToWide(member);
    LPOLESTR names[] = {name.data()};
    const HRESULT hr = Attempt([&] { return object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); });
    if (FAILED(hr)) {
      EXCEPINFO none{};
      return {false, {}, Describe(hr, none)};
    }
  }

  Arguments arguments(args);
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{arguments.Data(), nullptr, arguments.Count(), 0};
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  Variant result;
  EXCEPINFO excep{};
  UINT argError = 0;
  HRESULT hr = Attempt([&] {
    return object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                           flags == DISPATCH_PROPERTYPUT ? nullptr : result.Receive(), &excep, &argError);
  });
  if ((hr == DISP_E_BADPARAMCOUNT || hr == DISP_E_PARAMNOTOPTIONAL) && !args.empty() && !knownId &&
      flags != DISPATCH_PROPERTYPUT) {
    // A collection property given an index (workbooks(name)): read the
    // collection, then its default member with the index.
    CallResult collection = Invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &id);
    const auto* object = std::get_if<Value::Object>(&collection.value.v);
    if (!collection.ok || !object || !*object)
      return collection.ok ? CallResult{false, {}, Describe(hr, excep)} : collection;
    auto* client = static_cast<DispatchClient*>(object->get());
    DISPID value = DISPID_VALUE;
    return client->Invoke(member, flags, args, &value);
  }
  if (FAILED(hr)) return {false, {}, Describe(hr, excep)};
  return Convert(*result.Get());
}

CallResult DispatchClient::Convert(VARIANT& v) {
  switch (V_VT(&v)) {
    case VT_EMPTY:
    case VT_NULL:
      return {true, {}, {}};
    case VT_BOOL:
      return {true, Value::Bool(V_BOOL(&v) != VARIANT_FALSE), {}};
    case VT_I2:
      return {true, Value::I2(V_I2(&v)), {}};
    case VT_I4:
      return {true, Value::I4(V_I4(&v)), {}};
    case VT_BSTR:
      return {
          true,
          Value::Text(V_BSTR(&v) ? WideToUtf8(std::wstring_view(V_BSTR(&v), SysStringLen(V_BSTR(&v)))) : std::string()),
          {}};
    case VT_DISPATCH:
      return {true,
              Value::Obj(V_DISPATCH(&v) ? MakeLateBound(ComPtr<IDispatch>::Share(V_DISPATCH(&v)), retry_) : nullptr),
              {}};
    default: {
      Variant asInt;
      if (SUCCEEDED(VariantChangeType(asInt.Get(), &v, 0, VT_I4))) return {true, Value::I4(V_I4(asInt.Get())), {}};
      return {true, {}, {}};
    }
  }
}

std::variant<std::vector<Value::Object>, std::string> DispatchClient::Enumerate() {
  Variant result;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXCEPINFO excep{};
  const HRESULT hr = Attempt([&] {
    return object_->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none,
                           result.Receive(), &excep, nullptr);
  });
  if (FAILED(hr)) return Describe(hr, excep);
  IUnknown* unknown = V_VT(result.Get()) == VT_UNKNOWN    ? V_UNKNOWN(result.Get())
                      : V_VT(result.Get()) == VT_DISPATCH ? V_DISPATCH(result.Get())
                                                          : nullptr;
  if (!unknown) return std::string("kolekcja nie podaje swoich elementów");
  ComPtr<IEnumVARIANT> items;
  if (FAILED(unknown->QueryInterface(IID_IEnumVARIANT, items.ReceiveVoid()))) {
    return std::string("kolekcja nie podaje swoich elementów");
  }
  std::vector<Value::Object> out;
  for (;;) {
    Variant item;
    ULONG fetched = 0;
    const HRESULT next = Attempt([&] { return items->Next(1, item.Receive(), &fetched); });
    if (FAILED(next)) return Describe(next, excep);
    if (next != S_OK || fetched == 0) break;
    if (V_VT(item.Get()) == VT_DISPATCH && V_DISPATCH(item.Get())) {
      out.push_back(MakeLateBound(ComPtr<IDispatch>::Share(V_DISPATCH(item.Get())), retry_));
    }
  }
  return out;
}

}  // namespace

std::shared_ptr<LateBound> MakeLateBound(ComPtr<IDispatch> object, RetryPolicy retry) {
  return std::make_shared<DispatchClient>(std::move(object), retry);
}

}  // namespace atrybuty::win32
