#include "win32/com/registration.h"

#include <string_view>

#include "atrybuty_h.h"
#include "win32/handles.h"

namespace atrybuty::win32 {
namespace {

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

// The standard marshaller for automation (dual) interfaces.
constexpr wchar_t kOleAutomationProxy[] = L"{00020424-0000-0000-C000-000000000046}";

struct Value {
  std::wstring key;   // below Software\Classes
  std::wstring name;  // empty: the key's default value
  std::wstring data;
};

std::vector<Value> Values(const std::wstring& exePath) {
  const std::wstring clsid = L"CLSID\\" + GuidText(CLSID_MorvalyClsAttribute);
  const std::wstring iid = L"Interface\\" + GuidText(IID__MorvalyClsAttribute);
  const std::wstring libid = GuidText(LIBID_Atrybuty);
  const std::wstring typelib = L"TypeLib\\" + libid + L"\\1.0";
  std::wstring folder = exePath.substr(0, exePath.find_last_of(L"\\/") + 1);
  if (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  return {
      {clsid, L"", L"MorvalyClsAttribute"},
      {clsid + L"\\LocalServer32", L"", L"\"" + exePath + L"\""},
      {clsid + L"\\ProgID", L"", kVersionedProgId},
      {clsid + L"\\VersionIndependentProgID", L"", kProgId},
      {clsid + L"\\TypeLib", L"", libid},
      {clsid + L"\\Version", L"", L"1.0"},
      {kProgId, L"", L"MorvalyClsAttribute"},
      {std::wstring(kProgId) + L"\\CLSID", L"", GuidText(CLSID_MorvalyClsAttribute)},
      {std::wstring(kProgId) + L"\\CurVer", L"", kVersionedProgId},
      {kVersionedProgId, L"", L"MorvalyClsAttribute"},
      {std::wstring(kVersionedProgId) + L"\\CLSID", L"", GuidText(CLSID_MorvalyClsAttribute)},
      {typelib, L"", L"Atrybuty"},
      {typelib + L"\\0\\win64", L"", exePath},
      {typelib + L"\\0\\win32", L"", exePath},
      {typelib + L"\\FLAGS", L"", L"0"},
      {typelib + L"\\HELPDIR", L"", folder},
      {iid, L"", L"_MorvalyClsAttribute"},
      {iid + L"\\ProxyStubClsid", L"", kOleAutomationProxy},
      {iid + L"\\ProxyStubClsid32", L"", kOleAutomationProxy},
      {iid + L"\\TypeLib", L"", libid},
      {iid + L"\\TypeLib", L"Version", L"1.0"},
  };
}

// The trees registration owns; removing them removes every value above.
std::vector<std::wstring> OwnedTrees() {
  return {L"CLSID\\" + GuidText(CLSID_MorvalyClsAttribute), kProgId, kVersionedProgId,
          L"TypeLib\\" + GuidText(LIBID_Atrybuty), L"Interface\\" + GuidText(IID__MorvalyClsAttribute)};
}

// Parents registration may have had to create (in a fresh per-user hive).
constexpr const wchar_t* kParents[] = {L"CLSID", L"TypeLib", L"Interface"};

HKEY Root(RegistrationScope scope) {
  return scope == RegistrationScope::Machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// 32-bit hosts (32-bit Office) look for the class and the interface in the
// 32-bit view of the registry; the type library and ProgIDs are shared.
constexpr REGSAM kViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

bool IsEmptyKey(HKEY root, const std::wstring& path, REGSAM view) {
  RegKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, key.Receive()) != ERROR_SUCCESS) return false;
  DWORD subkeys = 0, values = 0;
  if (RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  return subkeys == 0 && values == 0;
}

LSTATUS DeleteTree(HKEY root, const std::wstring& path, REGSAM view) {
  RegKey key;
  LSTATUS status = RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS | view, key.Receive());
  if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteTreeW(key.Get(), nullptr);
  key.Reset();
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteKeyExW(root, path.c_str(), view, 0);
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

}  // namespace

std::vector<std::wstring> RegistrationKeys() {
  std::vector<std::wstring> keys;
  for (const Value& v : Values(L"x")) {
    if (keys.empty() || keys.back() != v.key) keys.push_back(v.key);
  }
  return keys;
}

HRESULT RegisterServer(RegistrationScope scope, const std::wstring& exePath) {
  const std::wstring classes = L"Software\\Classes\\";
  for (REGSAM view : kViews) {
    for (const Value& v : Values(exePath)) {
      RegKey key;
      LSTATUS status = RegCreateKeyExW(Root(scope), (classes + v.key).c_str(), 0, nullptr, 0, KEY_SET_VALUE | view,
                                       nullptr, key.Receive(), nullptr);
      if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(key.Get(), v.name.empty() ? nullptr : v.name.c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(v.data.c_str()),
                                static_cast<DWORD>((v.data.size() + 1) * sizeof(wchar_t)));
      }
      if (status != ERROR_SUCCESS) {
        UnregisterServer(scope);
        return HRESULT_FROM_WIN32(status);
      }
    }
  }
  return S_OK;
}

HRESULT UnregisterServer(RegistrationScope scope) {
  const std::wstring classes = L"Software\\Classes\\";
  LSTATUS failed = ERROR_SUCCESS;
  for (REGSAM view : kViews) {
    for (const std::wstring& tree : OwnedTrees()) {
      if (const LSTATUS status = DeleteTree(Root(scope), classes + tree, view); status != ERROR_SUCCESS)
        failed = status;
    }
    // The machine's class keys belong to the system; only a per-user hive
    // may have had them made for us.
    for (const wchar_t* parent : kParents) {
      if (scope == RegistrationScope::User && IsEmptyKey(Root(scope), classes + parent, view))
        RegDeleteKeyExW(Root(scope), (classes + parent).c_str(), view, 0);
    }
  }
  // A fresh per-user hive may have had no classes at all before.
  if (scope == RegistrationScope::User) {
    for (const std::wstring& made : {classes + L"Wow6432Node", std::wstring(L"Software\\Classes")}) {
      if (IsEmptyKey(Root(scope), made, KEY_WOW64_64KEY))
        RegDeleteKeyExW(Root(scope), made.c_str(), KEY_WOW64_64KEY, 0);
    }
  }
  return HRESULT_FROM_WIN32(failed);
}

}  // namespace atrybuty::win32
