#include "win32/com/items_object.h"

#include "win32/com/line_styles.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {
namespace {

class Enumerator final : public ComObject<IEnumVARIANT> {
 public:
  // `owner` keeps the collection, and with it the server, while the host walks.
  Enumerator(ComPtr<IAtrybutyItems> owner, std::vector<ComPtr<IDispatch>> items, std::size_t at = 0)
      : owner_(std::move(owner)), items_(std::move(items)), at_(at) {}

  STDMETHODIMP Next(ULONG count, VARIANT* out, ULONG* fetched) override {
    if (!out && count) return E_POINTER;
    ULONG n = 0;
    for (; n < count && at_ < items_.size(); ++n, ++at_) {
      VariantInit(&out[n]);
      V_VT(&out[n]) = VT_DISPATCH;
      V_DISPATCH(&out[n]) = ComPtr<IDispatch>::Share(items_[at_].Get()).Detach();
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Skip(ULONG count) override {
    at_ = std::min<std::size_t>(at_ + count, items_.size());
    return at_ < items_.size() ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    at_ = 0;
    return S_OK;
  }
  STDMETHODIMP Clone(IEnumVARIANT** clone) override {
    if (!clone) return E_POINTER;
    *clone = nullptr;
    try {
      std::vector<ComPtr<IDispatch>> items;
      for (const auto& item : items_) items.push_back(ComPtr<IDispatch>::Share(item.Get()));
      *clone = new Enumerator(ComPtr<IAtrybutyItems>::Share(owner_.Get()), std::move(items), at_);
      return S_OK;
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }

 private:
  ComPtr<IAtrybutyItems> owner_;
  std::vector<ComPtr<IDispatch>> items_;
  std::size_t at_;
};

}  // namespace

STDMETHODIMP ItemsObject::get_Count(long* count) {
  if (!count) return E_POINTER;
  *count = static_cast<long>(items_.size());
  return S_OK;
}

STDMETHODIMP ItemsObject::get_Item(VARIANT index, IDispatch** item) {
  if (!item) return E_POINTER;
  *item = nullptr;
  return LineStylesGuarded(Registry(), [&]() -> HRESULT {
    const VARIANT* v = &index;
    if (V_VT(v) == (VT_VARIANT | VT_BYREF)) v = V_VARIANTREF(v);
    if (V_VT(v) == VT_BSTR || V_VT(v) == (VT_BSTR | VT_BYREF)) {
      const BSTR b = V_VT(v) == VT_BSTR ? V_BSTR(v) : *V_BSTRREF(v);
      const std::string name = WideToUtf8(b ? std::wstring_view(b, SysStringLen(b)) : std::wstring_view());
      for (const Item& i : items_) {
        if (!i.name.empty() && i.name == name) {
          *item = ComPtr<IDispatch>::Share(i.object.Get()).Detach();
          return S_OK;
        }
      }
      return LineStylesError(Registry(), DISP_E_BADINDEX, "Kolekcja nie zawiera elementu \"" + name + "\".");
    }
    Variant number;
    if (FAILED(VariantChangeType(number.Get(), const_cast<VARIANT*>(v), 0, VT_I4))) return DISP_E_TYPEMISMATCH;
    const long n = V_I4(number.Get());
    if (n < 1 || static_cast<std::size_t>(n) > items_.size()) {
      return LineStylesError(
          Registry(), DISP_E_BADINDEX,
          "Kolekcja ma " + std::to_string(items_.size()) + " elementów; nie ma elementu " + std::to_string(n) + ".");
    }
    *item = ComPtr<IDispatch>::Share(items_[static_cast<std::size_t>(n) - 1].object.Get()).Detach();
    return S_OK;
  });
}

STDMETHODIMP ItemsObject::get__NewEnum(IUnknown** enumerator) {
  if (!enumerator) return E_POINTER;
  *enumerator = nullptr;
  return LineStylesGuarded(Registry(), [&]() -> HRESULT {
    std::vector<ComPtr<IDispatch>> items;
    for (const Item& i : items_) items.push_back(ComPtr<IDispatch>::Share(i.object.Get()));
    *enumerator = static_cast<IEnumVARIANT*>(new Enumerator(ComPtr<IAtrybutyItems>::Share(this), std::move(items)));
    return S_OK;
  });
}

IAtrybutyItems* MakeItems(ObjectRegistry& registry, std::vector<ItemsObject::Item> items) {
  return new ItemsObject(registry, std::move(items));
}

}  // namespace atrybuty::win32
