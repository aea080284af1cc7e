#include "win32/com/error_info.h"

#include <oleauto.h>

#include <atomic>
#include <new>

#include "atrybuty_h.h"
#include "win32/com/com_ptr.h"

namespace atrybuty::win32 {
namespace {

class ErrorObject final : public IErrorInfo {
 public:
  ErrorObject(std::wstring description, ServerLock* lock) : description_(std::move(description)), lock_(lock) {
    if (lock_) lock_->LockServer(true);
  }
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IErrorInfo) {
      *out = static_cast<IErrorInfo*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP GetGUID(GUID* guid) override {
    if (!guid) return E_POINTER;
    *guid = IID__MorvalyClsAttribute;
    return S_OK;
  }
  STDMETHODIMP GetSource(BSTR* source) override { return Copy(L"Atrybuty.MorvalyClsAttribute", source); }
  STDMETHODIMP GetDescription(BSTR* description) override { return Copy(description_, description); }
  STDMETHODIMP GetHelpFile(BSTR* file) override { return Copy(L"", file); }
  STDMETHODIMP GetHelpContext(DWORD* context) override {
    if (!context) return E_POINTER;
    *context = 0;
    return S_OK;
  }

 private:
  ~ErrorObject() {
    if (lock_) lock_->LockServer(false);
  }
  static HRESULT Copy(const std::wstring& text, BSTR* out) {
    if (!out) return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  std::atomic<ULONG> refs_{1};
  std::wstring description_;
  ServerLock* lock_;
};

}  // namespace

HRESULT ReportAutomationError(HRESULT hr, const std::wstring& description, ServerLock* lock) {
  ErrorObject* error = new (std::nothrow) ErrorObject(description, lock);
  if (!error) return hr;
  SetErrorInfo(0, error);
  error->Release();
  return hr;
}

std::wstring SystemMessage(HRESULT hr) {
  wchar_t* buffer = nullptr;
  const DWORD n =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n ? std::wstring(buffer, n) : std::wstring();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  wchar_t code[16];
  wsprintfW(code, L"0x%08X", static_cast<unsigned>(hr));
  return text.empty() ? std::wstring(L"błąd ") + code : text + L" (" + code + L")";
}

}  // namespace atrybuty::win32
