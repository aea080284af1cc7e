#pragma once
// IUnknown for a class that implements COM interfaces: QueryInterface answers
// IUnknown, each of `Interfaces` by its IID (as its header declares it) and
// IDispatch for the first interface derived from it; the reference count is
// atomic, starts at one (the creator's, to be adopted), and the last Release
// deletes the object.

#include <windows.h>
#include <objbase.h>
#include <oaidl.h>

#include <atomic>
#include <tuple>
#include <type_traits>

namespace atrybuty::win32 {

template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown) {
      *out = static_cast<First*>(this);
    } else if (!(Answer<Interfaces>(iid, out) || ...)) {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~ComObject() = default;

 private:
  using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;

  template <typename I>
  bool Answer(REFIID iid, void** out) {
    if (iid != __uuidof(I) && !(std::is_base_of_v<IDispatch, I> && iid == IID_IDispatch)) return false;
    *out = static_cast<I*>(this);
    return true;
  }

  std::atomic<ULONG> refs_{1};
};

}  // namespace atrybuty::win32
