// Registration and unregistration of the server, for the whole machine and
// for the current user: exactly the expected keys, and nothing left behind.

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "atrybuty_h.h"

namespace {

std::wstring g_exe;  // atrybuty.exe, from the command line

std::wstring Guid(REFGUID g) {
  wchar_t text[40];
  StringFromGUID2(g, text, 40);
  return text;
}

// Every key and value below a key, one line each, in both registry views.
void Walk(HKEY root, const std::wstring& path, REGSAM view, std::vector<std::wstring>& out) {
  HKEY key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return;
  out.push_back(L"key " + path);
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD nameLength = 512, type = 0;
    BYTE data[2048];
    DWORD dataLength = sizeof data;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
    std::wstring value = type == REG_SZ ? std::wstring(reinterpret_cast<wchar_t*>(data), dataLength / 2) : L"?";
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    out.push_back(L"value " + path + L"|" + name + L"=" + value);
  }
  std::vector<std::wstring> children;
  for (DWORD i = 0;; ++i) {
    wchar_t name[512];
    DWORD nameLength = 512;
    if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.push_back(name);
  }
  RegCloseKey(key);
  for (const auto& child : children) Walk(root, path + L"\\" + child, view, out);
}

std::vector<std::wstring> Snapshot(HKEY root) {
  std::vector<std::wstring> lines;
  Walk(root, L"Software\\Classes", KEY_WOW64_64KEY, lines);
  Walk(root, L"Software\\Classes", KEY_WOW64_32KEY, lines);
  return lines;
}

// The lines only one of two snapshots has, for readable failures.
std::vector<std::wstring> Difference(const std::vector<std::wstring>& a, const std::vector<std::wstring>& b) {
  std::vector<std::wstring> sa = a, sb = b, out;
  std::sort(sa.begin(), sa.end());
  std::sort(sb.begin(), sb.end());
  std::set_symmetric_difference(sa.begin(), sa.end(), sb.begin(), sb.end(), std::back_inserter(out));
  return out;
}

std::wstring Value(HKEY root, const std::wstring& path, const wchar_t* name, REGSAM view) {
  wchar_t data[1024] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(root, path.c_str(), name,
                   RRF_RT_REG_SZ | (view == KEY_WOW64_32KEY ? RRF_SUBKEY_WOW6432KEY : RRF_SUBKEY_WOW6464KEY), nullptr,
                   data, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return data;
}

DWORD RunServer(const std::wstring& arguments) {
  std::wstring line = L"\"" + g_exe + L"\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 999;
  // Registration exits at once; the bound only keeps a hung server from hanging the test.
  const bool ended = WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0;
  DWORD code = 998;
  if (ended)
    GetExitCodeProcess(pi.hProcess, &code);
  else
    TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return code;
}

std::wstring RegisteredExe() {
  wchar_t full[MAX_PATH];
  GetFullPathNameW(g_exe.c_str(), MAX_PATH, full, nullptr);
  return full;
}

void ExpectRegisteredUnder(HKEY root) {
  const std::wstring classes = L"Software\\Classes\\";
  const std::wstring lib = classes + L"TypeLib\\" + Guid(LIBID_Atrybuty) + L"\\1.1";
  const std::pair<const CLSID*, std::wstring> kClasses[] = {{&CLSID_MorvalyClsAttribute, L"Atrybuty.MorvalyClsAttribute"},
                                                            {&CLSID_LineStyles, L"Atrybuty.LineStyles"}};
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    SCOPED_TRACE(view == KEY_WOW64_64KEY ? "64-bit view" : "32-bit view");
    for (const auto& [id, progId] : kClasses) {
      const std::wstring clsid = classes + L"CLSID\\" + Guid(*id);
      EXPECT_EQ(Value(root, clsid + L"\\LocalServer32", nullptr, view), L"\"" + RegisteredExe() + L"\"");
      EXPECT_EQ(Value(root, clsid + L"\\ProgID", nullptr, view), progId + L".1");
      EXPECT_EQ(Value(root, clsid + L"\\VersionIndependentProgID", nullptr, view), progId);
      EXPECT_EQ(Value(root, clsid + L"\\TypeLib", nullptr, view), Guid(LIBID_Atrybuty));
    }
    for (const IID* id : {&IID__MorvalyClsAttribute, &IID_ILineStyles, &IID_IAtrybutyItems, &IID_IPackage, &IID_ILayer,
                          &IID_ILineStyle, &IID_IChange, &IID_IImportResult}) {
      const std::wstring iid = classes + L"Interface\\" + Guid(*id);
      EXPECT_EQ(Value(root, iid + L"\\ProxyStubClsid32", nullptr, view), L"{00020424-0000-0000-C000-000000000046}");
      EXPECT_EQ(Value(root, iid + L"\\TypeLib", L"Version", view), L"1.1");
    }
  }
  EXPECT_EQ(Value(root, classes + L"Atrybuty.MorvalyClsAttribute\\CLSID", nullptr, KEY_WOW64_64KEY),
            Guid(CLSID_MorvalyClsAttribute));
  EXPECT_EQ(Value(root, classes + L"Atrybuty.MorvalyClsAttribute\\CurVer", nullptr, KEY_WOW64_64KEY),
            L"Atrybuty.MorvalyClsAttribute.1");
  EXPECT_EQ(Value(root, classes + L"Atrybuty.MorvalyClsAttribute.1\\CLSID", nullptr, KEY_WOW64_64KEY),
            Guid(CLSID_MorvalyClsAttribute));
  EXPECT_EQ(Value(root, lib, nullptr, KEY_WOW64_64KEY), L"Atrybuty");
  EXPECT_EQ(Value(root, lib + L"\\0\\win64", nullptr, KEY_WOW64_64KEY), RegisteredExe());
  EXPECT_EQ(Value(root, lib + L"\\0\\win32", nullptr, KEY_WOW64_64KEY), RegisteredExe());
}

TEST(Registration, PerUserWritesTheKeysUnderHkcuAndUnregistrationLeavesNothing) {
  const auto machineBefore = Snapshot(HKEY_LOCAL_MACHINE);
  const auto before = Snapshot(HKEY_CURRENT_USER);
  ASSERT_EQ(RunServer(L"/RegServerUser /s"), 0u);
  ExpectRegisteredUnder(HKEY_CURRENT_USER);
  EXPECT_EQ(Difference(Snapshot(HKEY_LOCAL_MACHINE), machineBefore), std::vector<std::wstring>{})
      << "a per-user registration touches no machine key";
  ASSERT_EQ(RunServer(L"/UnregServerUser /s"), 0u);
  EXPECT_EQ(Difference(Snapshot(HKEY_CURRENT_USER), before), std::vector<std::wstring>{});
}

TEST(Registration, MachineWideLetsHostsCreateTheObjectAndUnregistrationLeavesNothing) {
  const auto before = Snapshot(HKEY_LOCAL_MACHINE);
  ASSERT_EQ(RunServer(L"-RegServer /s"), 0u);
  ExpectRegisteredUnder(HKEY_LOCAL_MACHINE);

  CLSID clsid;
  ASSERT_EQ(CLSIDFromProgID(L"Atrybuty.LineStyles", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_LineStyles);
  ASSERT_EQ(CLSIDFromProgID(L"Atrybuty.MorvalyClsAttribute", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_MorvalyClsAttribute);

  // A workbook saved with a reference to version 1.0 of the type library
  // finds 1.1; its IntelliSense text is Polish.
  ITypeLib* library = nullptr;
  ASSERT_EQ(LoadRegTypeLib(LIBID_Atrybuty, 1, 0, 0, &library), S_OK);
  TLIBATTR* attributes = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->wMajorVerNum, 1);
  EXPECT_EQ(attributes->wMinorVerNum, 1);
  library->ReleaseTLibAttr(attributes);
  ITypeInfo* layer = nullptr;
  ASSERT_EQ(library->GetTypeInfoOfGuid(IID_ILayer, &layer), S_OK);
  BSTR help = nullptr;
  ASSERT_EQ(layer->GetDocumentation(MEMBERID_NIL, nullptr, &help, nullptr, nullptr), S_OK);
  EXPECT_EQ(std::wstring(help), L"Warstwa pakietu map");
  SysFreeString(help);
  MEMBERID set = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"SetLineStyle");
  ASSERT_EQ(layer->GetIDsOfNames(&name, 1, &set), S_OK);
  ASSERT_EQ(layer->GetDocumentation(set, nullptr, &help, nullptr, nullptr), S_OK);
  EXPECT_EQ(std::wstring(help).find(L"Zmienia styl linii warstwy"), 0u) << "Polish letters come through";
  SysFreeString(help);
  layer->Release();
  library->Release();
  ASSERT_EQ(CLSIDFromProgID(L"Atrybuty.MorvalyClsAttribute.1", &clsid), S_OK);
  IDispatch* object = nullptr;
  ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, reinterpret_cast<void**>(&object)),
            S_OK);
  object->Release();

  ASSERT_EQ(RunServer(L"/UnregServer /s"), 0u);
  EXPECT_EQ(Difference(Snapshot(HKEY_LOCAL_MACHINE), before), std::vector<std::wstring>{});
  EXPECT_NE(CLSIDFromProgID(L"Atrybuty.MorvalyClsAttribute", &clsid), S_OK);
}

TEST(ServerLifetime, AServerStartedForAnObjectThatNeverComesLeavesByItself) {
  ASSERT_EQ(RunServer(L"/RegServer /s"), 0u);
  // As COM starts it; no object is ever asked for. RunServer waits up to 30 s.
  EXPECT_EQ(RunServer(L"-Embedding"), 0u) << "the server must end by itself within its start timeout";
  ASSERT_EQ(RunServer(L"/UnregServer /s"), 0u);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    fprintf(stderr, "usage: registration_tests ATRYBUTY_EXE\n");
    return 2;
  }
  const std::string exe = argv[1];
  g_exe.assign(exe.begin(), exe.end());
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
