// The Windows side of the installer test (installer_test.sh), one command a
// run:
//
//   installer_probe snapshot FILE
//       Every key and value below the trees an installation may touch, in
//       both registry views, sorted, one line each (UTF-8), for the script to
//       compare before and after:
//         HKLM and HKCU Software\Classes (the server's registration and, for
//         a machine, Windows Installer's product records), HKLM Software\KELMO
//         (map packages), the Uninstall lists and Windows Installer's own
//         records of products.
//   installer_probe install-folder machine|user
//       Where the package of that flavour puts its files.
//   installer_probe related UPGRADE_CODE
//       The installed products of that upgrade code: "{PRODUCT-CODE} VERSION"
//       a line.
//   installer_probe close-dialog PACKAGE SERVER_EXE
//       Waits for the dialog "Zmiana atrybutów linii - PACKAGE", checks that
//       the process showing it runs SERVER_EXE, closes it as its close box
//       does and waits for the server to leave. Exit codes: 0 done, 1 no such
//       dialog, 2 another program shows it, 3 it stays open, 4 the server
//       stays running.

#include <windows.h>
// After windows.h:
#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e/server_client.h"
#include "e2e/ui_driver.h"

namespace {

using namespace std::chrono_literals;

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring Hex(const BYTE* data, DWORD size) {
  static const wchar_t digits[] = L"0123456789abcdef";
  std::wstring out;
  for (DWORD i = 0; i < size; ++i) {
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
  return out;
}

std::wstring ValueText(DWORD type, const std::vector<BYTE>& data, DWORD size) {
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
      while (!text.empty() && text.back() == L'\0') text.pop_back();
      for (wchar_t& c : text) {
        if (c < L' ') c = L'?';  // one line per value
      }
      return (type == REG_SZ ? L"sz:" : L"expand:") + text;
    }
    case REG_DWORD:
      if (size == 4) return L"dword:" + std::to_wstring(*reinterpret_cast<const DWORD*>(data.data()));
      break;
  }
  return L"type" + std::to_wstring(type) + L":" + Hex(data.data(), size);
}

// Every key and value below root\path in one registry view.
void Walk(HKEY root, const std::wstring& label, const std::wstring& path, REGSAM view, std::vector<std::wstring>& out) {
  HKEY key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return;
  out.push_back(label + L" " + path);
  DWORD maxName = 0, maxData = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData, nullptr,
                   nullptr);
  std::vector<wchar_t> name(maxName + 2);
  std::vector<BYTE> data(maxData + 2);
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size()), type = 0, size = static_cast<DWORD>(data.size());
    const LSTATUS status = RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &size);
    if (status == ERROR_MORE_DATA) {
      // Changed while being read; read it again with room enough.
      RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, &maxData, nullptr,
                       nullptr);
      name.resize(maxName + 2);
      data.resize(maxData + 2);
      --i;
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    out.push_back(label + L" " + path + L" | " + std::wstring(name.data(), nameLength) + L" = " +
                  ValueText(type, data, size));
  }
  std::vector<std::wstring> children;
  for (DWORD i = 0;; ++i) {
    wchar_t child[256];
    DWORD length = 256;
    if (RegEnumKeyExW(key, i, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.emplace_back(child, length);
  }
  RegCloseKey(key);
  for (const std::wstring& child : children) Walk(root, label, path + L"\\" + child, view, out);
}

int Snapshot(const std::wstring& file) {
  struct Tree {
    HKEY root;
    const wchar_t* rootName;
    const wchar_t* path;
  };
  const Tree trees[] = {
      {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\Classes"},
      {HKEY_CURRENT_USER, L"HKCU", L"Software\\Classes"},
      {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\KELMO"},
      {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
      {HKEY_CURRENT_USER, L"HKCU", L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
      {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer"},
      {HKEY_CURRENT_USER, L"HKCU", L"Software\\Microsoft\\Installer"},
  };
  std::vector<std::wstring> lines;
  for (const Tree& t : trees) {
    Walk(t.root, std::wstring(t.rootName) + L"64", t.path, KEY_WOW64_64KEY, lines);
    Walk(t.root, std::wstring(t.rootName) + L"32", t.path, KEY_WOW64_32KEY, lines);
  }
  std::sort(lines.begin(), lines.end());
  std::string text;
  for (const std::wstring& line : lines) text += Utf8(line) + "\n";
  HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "installer_probe: cannot write %s\n", Utf8(file).c_str());
    return 1;
  }
  DWORD written = 0;
  const BOOL ok = WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(out);
  return ok && written == text.size() ? 0 : 1;
}

int InstallFolder(const std::wstring& flavour) {
  const bool machine = flavour == L"machine";
  if (!machine && flavour != L"user") return 2;
  PWSTR base = nullptr;
  if (FAILED(SHGetKnownFolderPath(machine ? FOLDERID_ProgramFiles : FOLDERID_LocalAppData, 0, nullptr, &base)))
    return 1;
  std::wstring folder = base;
  CoTaskMemFree(base);
  folder += machine ? L"\\Atrybuty" : L"\\Programs\\Atrybuty";
  std::printf("%s\n", Utf8(folder).c_str());
  return 0;
}

int Related(const std::wstring& upgradeCode) {
  for (DWORD i = 0;; ++i) {
    wchar_t product[39] = {};
    const UINT status = MsiEnumRelatedProductsW(upgradeCode.c_str(), 0, i, product);
    if (status == ERROR_NO_MORE_ITEMS) return 0;
    if (status != ERROR_SUCCESS) {
      std::fprintf(stderr, "installer_probe: MsiEnumRelatedProducts: %u\n", status);
      return 1;
    }
    wchar_t version[64] = {};
    DWORD size = 64;
    if (MsiGetProductInfoW(product, INSTALLPROPERTY_VERSIONSTRING, version, &size) != ERROR_SUCCESS) {
      version[0] = L'?';
      version[1] = 0;
    }
    std::printf("%s %s\n", Utf8(product).c_str(), Utf8(version).c_str());
  }
}

std::wstring ProcessImage(HWND window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return L"<no process>";
  wchar_t image[MAX_PATH * 2] = {};
  DWORD size = MAX_PATH * 2;
  const BOOL ok = QueryFullProcessImageNameW(process, 0, image, &size);
  CloseHandle(process);
  return ok ? image : L"<unknown>";
}

int CloseDialog(const std::wstring& package, const std::wstring& serverExe) {
  using namespace atrybuty::e2e;
  const std::wstring caption = L"Zmiana atrybutów linii - " + package;
  HWND dialog = WaitForDialog(caption, 30s);
  if (!dialog) {
    std::fprintf(stderr, "installer_probe: no dialog \"%s\"\n", Utf8(caption).c_str());
    return 1;
  }
  const std::wstring image = ProcessImage(dialog);
  if (lstrcmpiW(image.c_str(), serverExe.c_str()) != 0) {
    std::fprintf(stderr, "installer_probe: the dialog is shown by %s, not by %s\n", Utf8(image).c_str(),
                 Utf8(serverExe).c_str());
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    return 2;
  }
  std::printf("dialog \"%s\" shown by %s\n", Utf8(caption).c_str(), Utf8(image).c_str());
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  if (!WaitGone(dialog)) {
    std::fprintf(stderr, "installer_probe: the dialog stays open\n");
    return 3;
  }
  if (!WaitServerGone(30s)) {
    std::fprintf(stderr, "installer_probe: the server keeps running after its dialog closed\n");
    return 4;
  }
  std::printf("dialog closed, server gone\n");
  return 0;
}

}  // namespace

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::vector<std::wstring> args(argv + 1, argv + argc);
  LocalFree(argv);
  const std::wstring command = args.empty() ? L"" : args[0];
  if (command == L"snapshot" && args.size() == 2) return Snapshot(args[1]);
  if (command == L"install-folder" && args.size() == 2) return InstallFolder(args[1]);
  if (command == L"related" && args.size() == 2) return Related(args[1]);
  if (command == L"close-dialog" && args.size() == 3) return CloseDialog(args[1], args[2]);
  std::fprintf(stderr,
               "usage: installer_probe snapshot FILE | install-folder machine|user | related UPGRADE_CODE |\n"
               "       close-dialog PACKAGE SERVER_EXE\n");
  return 2;
}
