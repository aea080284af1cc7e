#include "win32/com/registration.h"

#include <string_view>

#include "atrybuty_h.h"
#include "win32/config/registry_writer.h"

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
// 32-bit view of the registry, 64-bit hosts in the 64-bit one.
constexpr REGSAM kViews[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};

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
      const LSTATUS status = WriteRegistryText({Root(scope), view}, classes + v.key, v.name, v.data);
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
      if (const LSTATUS status = DeleteRegistryTree({Root(scope), view}, classes + tree); status != ERROR_SUCCESS)
        failed = status;
    }
    // The machine's class keys belong to the system; only a per-user hive
    // may have had them made for us.
    for (const wchar_t* parent : kParents) {
      if (scope == RegistrationScope::User) DeleteRegistryKeyIfEmpty({Root(scope), view}, classes + parent);
    }
  }
  // A fresh per-user hive may have had no classes at all before.
  if (scope == RegistrationScope::User) {
    for (const std::wstring& made : {classes + L"Wow6432Node", std::wstring(L"Software\\Classes")}) {
      DeleteRegistryKeyIfEmpty({Root(scope), KEY_WOW64_64KEY}, made);
    }
  }
  return HRESULT_FROM_WIN32(failed);
}

}  // namespace atrybuty::win32
