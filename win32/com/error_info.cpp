#include "com/error_info.h"

#include <oleauto.h>

#include "atrybuty_h.h"
#include "com/com_ptr.h"

namespace atrybuty::win32 {

HRESULT ReportAutomationError(HRESULT hr, const std::wstring& description) {
  ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.Receive()))) return hr;
  create->SetGUID(IID__MorvalyClsAttribute);
  create->SetSource(const_cast<LPOLESTR>(L"Atrybuty.MorvalyClsAttribute"));
  create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
  ComPtr<IErrorInfo> info = create.As<IErrorInfo>(IID_IErrorInfo);
  if (info) SetErrorInfo(0, info.Get());
  return hr;
}

std::wstring SystemMessage(HRESULT hr) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n ? std::wstring(buffer, n) : std::wstring();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  wchar_t code[16];
  wsprintfW(code, L"0x%08X", static_cast<unsigned>(hr));
  return text.empty() ? std::wstring(L"błąd ") + code : text + L" (" + code + L")";
}

}  // namespace atrybuty::win32
