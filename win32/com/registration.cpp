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

struct ClassEntry {
  const CLSID& clsid;
  const wchar_t* name;
  const wchar_t* progId;
  const wchar_t* versionedProgId;
};

struct InterfaceEntry {
  const IID& iid;
  const wchar_t* name;
};

const ClassEntry kClasses[] = {
    {CLSID_MorvalyClsAttribute, L"MorvalyClsAttribute", kProgId, kVersionedProgId},
    {CLSID_LineStyles, L"LineStyles", kLineStylesProgId, kVersionedLineStylesProgId},
};

const InterfaceEntry kInterfaces[] = {
    {IID__MorvalyClsAttribute, L"_MorvalyClsAttribute"},
    {IID_ILineStyles, L"ILineStyles"},
    {IID_IAtrybutyItems, L"IAtrybutyItems"},
    {IID_IPackage, L"IPackage"},
    {IID_ILayer, L"ILayer"},
    {IID_ILineStyle, L"ILineStyle"},
    {IID_IChange, L"IChange"},
    {IID_IImportResult, L"IImportResult"},
};

// The type library's version: 1.1 (LineStyles came with it). Workbooks that
// reference 1.0 find it, as a reference finds the highest minor version of
// its major one.
constexpr wchar_t kTypeLibVersion[] = L"1.1";

std::vector<Value> Values(const std::wstring& exePath) {
  const std::wstring libid = GuidText(LIBID_Atrybuty);
  const std::wstring typelib = L"TypeLib\\" + libid + L"\\" + kTypeLibVersion;
  std::wstring folder = exePath.substr(0, exePath.find_last_of(L"\\/") + 1);
  if (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  std::vector<Value> values;
  for (const ClassEntry& c : kClasses) {
    const std::wstring clsid = L"CLSID\\" + GuidText(c.clsid);
    values.insert(values.end(), {
                                    {clsid, L"", c.name},
                                    {clsid + L"\\LocalServer32", L"", L"\"" + exePath + L"\""},
                                    {clsid + L"\\ProgID", L"", c.versionedProgId},
                                    {clsid + L"\\VersionIndependentProgID", L"", c.progId},
                                    {clsid + L"\\TypeLib", L"", libid},
                                    {clsid + L"\\Version", L"", kTypeLibVersion},
                                    {c.progId, L"", c.name},
                                    {std::wstring(c.progId) + L"\\CLSID", L"", GuidText(c.clsid)},
                                    {std::wstring(c.progId) + L"\\CurVer", L"", c.versionedProgId},
                                    {c.versionedProgId, L"", c.name},
                                    {std::wstring(c.versionedProgId) + L"\\CLSID", L"", GuidText(c.clsid)},
                                });
  }
  values.insert(values.end(), {
                                  {typelib, L"", L"Atrybuty"},
                                  {typelib + L"\\0\\win64", L"", exePath},
                                  {typelib + L"\\0\\win32", L"", exePath},
                                  {typelib + L"\\FLAGS", L"", L"0"},
                                  {typelib + L"\\HELPDIR", L"", folder},
                              });
  for (const InterfaceEntry& i : kInterfaces) {
    const std::wstring iid = L"Interface\\" + GuidText(i.iid);
    values.insert(values.end(), {
                                    {iid, L"", i.name},
                                    {iid + L"\\ProxyStubClsid", L"", kOleAutomationProxy},
                                    {iid + L"\\ProxyStubClsid32", L"", kOleAutomationProxy},
                                    {iid + L"\\TypeLib", L"", libid},
                                    {iid + L"\\TypeLib", L"Version", kTypeLibVersion},
                                });
  }
  return values;
}

// The trees registration owns; removing them removes every value above.
std::vector<std::wstring> OwnedTrees() {
  std::vector<std::wstring> trees = {L"TypeLib\\" + GuidText(LIBID_Atrybuty)};
  for (const ClassEntry& c : kClasses) {
    trees.insert(trees.end(), {L"CLSID\\" + GuidText(c.clsid), c.progId, c.versionedProgId});
  }
  for (const InterfaceEntry& i : kInterfaces) trees.push_back(L"Interface\\" + GuidText(i.iid));
  return trees;
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
