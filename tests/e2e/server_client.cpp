#include "e2e/server_client.h"

#include <tlhelp32.h>

#include <optional>
#include <thread>
#include <vector>

#include "e2e/ui_driver.h"

namespace atrybuty::e2e {

AttributeClient AttributeClient::Create() {
  CLSID clsid;
  ComPtr<IDispatch> object;
  if (SUCCEEDED(CLSIDFromProgID(L"Atrybuty.MorvalyClsAttribute", &clsid))) {
    CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, object.ReceiveVoid());
  }
  return AttributeClient(std::move(object));
}

HRESULT AttributeClient::Invoke(const wchar_t* member, WORD flags, VARIANT* arg, VARIANT* result,
                                std::wstring* description) {
  if (!object_) return E_POINTER;
  std::vector<win32::Variant> args(arg ? 1 : 0);
  if (arg && FAILED(VariantCopy(args[0].Get(), arg))) return E_OUTOFMEMORY;
  return LateInvoke(object_.Get(), member, flags, args, result, description);
}

HRESULT AttributeClient::PutText(const wchar_t* property, const std::wstring& text) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  const HRESULT hr = Invoke(property, DISPATCH_PROPERTYPUT, &v, nullptr);
  VariantClear(&v);
  return hr;
}

HRESULT AttributeClient::PutBool(const wchar_t* property, bool value) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = value ? VARIANT_TRUE : VARIANT_FALSE;
  return Invoke(property, DISPATCH_PROPERTYPUT, &v, nullptr);
}

HRESULT AttributeClient::PutRef(const wchar_t* property, IDispatch* object) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = object;
  return Invoke(property, DISPATCH_PROPERTYPUTREF, &v, nullptr);
}

std::wstring AttributeClient::GetText(const wchar_t* property) {
  win32::Variant result;
  if (FAILED(Invoke(property, DISPATCH_PROPERTYGET, nullptr, result.Get())) || V_VT(result.Get()) != VT_BSTR)
    return L"<?>";
  return V_BSTR(result.Get()) ? V_BSTR(result.Get()) : L"";
}

bool AttributeClient::GetBool(const wchar_t* property) {
  win32::Variant result;
  if (FAILED(Invoke(property, DISPATCH_PROPERTYGET, nullptr, result.Get()))) return false;
  return V_VT(result.Get()) == VT_BOOL && V_BOOL(result.Get()) == VARIANT_TRUE;
}

ComPtr<IDispatch> AttributeClient::GetObject(const wchar_t* property) {
  win32::Variant result;
  if (FAILED(Invoke(property, DISPATCH_PROPERTYGET, nullptr, result.Get())) || V_VT(result.Get()) != VT_DISPATCH)
    return {};
  return ComPtr<IDispatch>::Share(V_DISPATCH(result.Get()));
}

HRESULT AttributeClient::RunForm(std::wstring* description) {
  return Invoke(L"RunForm", DISPATCH_METHOD, nullptr, nullptr, description);
}

std::future<RunFormOutcome> RunFormOnThread(std::function<void(AttributeClient&)> setup) {
  return std::async(std::launch::async, [setup = std::move(setup)] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    RunFormOutcome outcome;
    {
      AttributeClient client = AttributeClient::Create();
      if (client.Get()) {
        setup(client);
        outcome.hr = client.RunForm(&outcome.description);
        outcome.isChange = client.GetBool(L"IsChange");
      } else {
        outcome.hr = REGDB_E_CLASSNOTREG;
      }
    }
    CoUninitialize();
    return outcome;
  });
}

namespace {

// The ids of the server processes running now; nothing when they cannot be listed.
std::optional<std::vector<DWORD>> ServerProcesses() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  std::vector<DWORD> ids;
  for (BOOL ok = Process32FirstW(snapshot, &entry); ok; ok = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, L"atrybuty.exe") == 0) ids.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return ids;
}

}  // namespace

HRESULT LateInvoke(IDispatch* object, const wchar_t* member, WORD flags, std::vector<win32::Variant>& args,
                   VARIANT* result, std::wstring* description) {
  if (!object) return E_POINTER;
  DISPID id;
  LPOLESTR name = const_cast<LPOLESTR>(member);
  HRESULT hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  std::vector<VARIANT> reversed;  // DISPPARAMS takes the last argument first
  for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*it->Get());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  EXCEPINFO excep{};
  hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &excep, nullptr);
  if (hr == DISP_E_EXCEPTION) {
    if (description && excep.bstrDescription) *description = excep.bstrDescription;
    hr = excep.scode ? excep.scode : hr;
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrHelpFile);
  }
  return hr;
}

win32::Variant Number(long value) {
  win32::Variant v;
  V_VT(v.Get()) = VT_I4;
  V_I4(v.Get()) = value;
  return v;
}

win32::Variant Text(const std::wstring& value) {
  win32::Variant v;
  V_VT(v.Get()) = VT_BSTR;
  V_BSTR(v.Get()) = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  return v;
}

win32::Variant Missing() {
  win32::Variant v;
  V_VT(v.Get()) = VT_ERROR;
  V_ERROR(v.Get()) = DISP_E_PARAMNOTFOUND;
  return v;
}

int ServerProcessCount() {
  const auto ids = ServerProcesses();
  return ids ? static_cast<int>(ids->size()) : -1;
}

DWORD ServerProcessId() {
  const auto ids = ServerProcesses();
  return ids && ids->size() == 1 ? ids->front() : 0;
}

bool WaitServerGone(std::chrono::milliseconds timeout) {
  return WaitFor([] { return ServerProcessCount() == 0; }, timeout);
}

}  // namespace atrybuty::e2e
