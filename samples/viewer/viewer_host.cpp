// viewer_host: a map viewer's start of Atrybuty, as a small console program.
//
//   viewer_host.exe PACKAGE
//
// Creates the object by its ProgID, names the caller as the viewer (Parent
// "Veltrix", in exactly this case), picks the map package (ActualMap, the
// name the package is registered under) and calls RunForm. In viewer mode
// RunForm shows the dialog modally: it returns once the user has applied a
// change ("Zastosuj" writes the data file and hides the dialog) or has closed
// or cancelled the dialog. IsChange then tells which.
//
// Every call goes through IDispatch by member name, as a script host makes
// it, so no header generated from the type library is needed.
//
// Exit code: 0 a change was applied (IsChange True), 1 no change (IsChange
// False), 2 Atrybuty or COM reported an error (its description is printed),
// 3 wrong arguments. Output goes to the console, or as UTF-8 when redirected.

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "com_handles.h"

namespace {

using viewer::Bstr;
using viewer::ComPtr;
using viewer::Variant;

constexpr wchar_t kProgId[] = L"Atrybuty.MorvalyClsAttribute";
constexpr wchar_t kViewerParent[] = L"Veltrix";

enum ExitCode { kChanged = 0, kUnchanged = 1, kError = 2, kUsage = 3 };

void Print(FILE* stream, const std::wstring& line) {
  const std::wstring text = line + L"\n";
  HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    DWORD written = 0;
    WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    return;
  }
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
  std::fflush(stream);
}

std::wstring HexCode(HRESULT hr) {
  wchar_t text[16];
  std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

// The system's sentence for an HRESULT, or its number.
std::wstring Describe(HRESULT hr) {
  wchar_t* buffer = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return text.empty() ? L"błąd " + HexCode(hr) : text + L" (" + HexCode(hr) + L")";
}

// COM for this thread, in a single-threaded apartment like a viewer's UI thread.
class Apartment {
 public:
  Apartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~Apartment() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;
  HRESULT Result() const { return hr_; }

 private:
  HRESULT hr_;
};

// What went wrong in a call: the HRESULT and the sentence for the user.
struct Failure {
  HRESULT hr = S_OK;
  std::wstring description;
};

// An automation object called by member name.
class LateBound {
 public:
  explicit LateBound(ComPtr<IDispatch> object) : object_(std::move(object)) {}

  bool PutText(const wchar_t* name, const wchar_t* text, Failure& failure) {
    Variant value;
    V_VT(value.Get()) = VT_BSTR;
    V_BSTR(value.Get()) = Bstr(text).Detach();
    return Invoke(name, DISPATCH_PROPERTYPUT, value.Get(), nullptr, failure);
  }

  bool Call(const wchar_t* name, Failure& failure) { return Invoke(name, DISPATCH_METHOD, nullptr, nullptr, failure); }

  bool GetBool(const wchar_t* name, bool& result, Failure& failure) {
    Variant value;
    if (!Invoke(name, DISPATCH_PROPERTYGET, nullptr, value.Get(), failure)) return false;
    Variant converted;
    const HRESULT hr = VariantChangeType(converted.Get(), value.Get(), 0, VT_BOOL);
    if (FAILED(hr)) {
      failure = {hr, std::wstring(name) + L": " + Describe(hr)};
      return false;
    }
    result = V_BOOL(converted.Get()) != VARIANT_FALSE;
    return true;
  }

 private:
  bool Invoke(const wchar_t* name, WORD flags, VARIANT* argument, VARIANT* result, Failure& failure) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) {
      failure = {hr, std::wstring(name) + L": " + Describe(hr)};
      return false;
    }
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{argument, nullptr, argument ? 1u : 0u, 0u};
    if (flags == DISPATCH_PROPERTYPUT) {
      params.rgdispidNamedArgs = &named;
      params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception, nullptr);
    if (hr == DISP_E_EXCEPTION) {
      if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
      Bstr description, source, help;
      description.Adopt(exception.bstrDescription);
      source.Adopt(exception.bstrSource);
      help.Adopt(exception.bstrHelpFile);
      const HRESULT code = exception.scode ? exception.scode : static_cast<HRESULT>(exception.wCode);
      failure = {code ? code : hr, description.Str().empty() ? Describe(code ? code : hr) : description.Str()};
      return false;
    }
    if (FAILED(hr)) {
      failure = {hr, std::wstring(name) + L": " + Describe(hr)};
      return false;
    }
    return true;
  }

  ComPtr<IDispatch> object_;
};

int Fail(const Failure& failure) {
  Print(stderr, L"viewer_host: " + failure.description);
  return kError;
}

int Run(const wchar_t* package) {
  Apartment apartment;
  if (FAILED(apartment.Result())) return Fail({apartment.Result(), L"COM: " + Describe(apartment.Result())});

  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(kProgId, &clsid);
  ComPtr<IDispatch> object;
  if (SUCCEEDED(hr)) hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, object.ReceiveVoid());
  if (FAILED(hr)) {
    return Fail({hr, L"nie mogę utworzyć obiektu " + std::wstring(kProgId) + L": " + Describe(hr)});
  }

  LateBound atrybuty(std::move(object));
  Failure failure;
  bool isChange = false;
  if (!atrybuty.PutText(L"Parent", kViewerParent, failure) || !atrybuty.PutText(L"ActualMap", package, failure) ||
      !atrybuty.Call(L"RunForm", failure) || !atrybuty.GetBool(L"IsChange", isChange, failure)) {
    return Fail(failure);
  }
  Print(stdout, isChange ? L"IsChange: True" : L"IsChange: False");
  return isChange ? kChanged : kUnchanged;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 || argv[1][0] == L'\0') {
    Print(stderr, L"użycie: viewer_host.exe PAKIET");
    return kUsage;
  }
  return Run(argv[1]);
}
