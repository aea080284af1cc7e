// install-package and remove-package: a map package's registration, as the
// component reads it (Windows only), in the 32-bit registry view where map
// packages' 32-bit installers write it:
//   HKLM\Software\KELMO\Atrybuty          MRUList = "name1;name2;..."
//   HKLM\Software\KELMO\Atrybuty\<name>   path    = the scrambled configuration

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/component/run_form.h"
#include "core/config/file_bytes.h"
#include "core/config/profile.h"
#include "core/config/registry.h"
#include "core/config/scramble.h"
#include "win32/config/win_registry.h"
#include "core/config/layer_table.h"
#include "win32/handles.h"
#include "tool/commands.h"

namespace atrybuty::tool {
namespace {

using win32::RegKey;

constexpr REGSAM kView = KEY_WOW64_32KEY;

LSTATUS WriteText(const std::string& subKey, const char* name, const std::string& text) {
  RegKey key;
  LSTATUS status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | kView, nullptr,
                                   key.Receive(), nullptr);
  if (status != ERROR_SUCCESS) return status;
  return RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>(text.size() + 1));
}

bool IsEmptyKey(const char* path) {
  RegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | kView, key.Receive()) != ERROR_SUCCESS) return false;
  DWORD subkeys = 0, values = 0;
  return RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

// The key and everything below it; ERROR_FILE_NOT_FOUND when there is none.
LSTATUS DeleteTree(const std::string& path) {
  RegKey key;
  LSTATUS status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS | kView, key.Receive());
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteTreeA(key.Get(), nullptr);
  key.Reset();
  if (status != ERROR_SUCCESS) return status;
  return RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), kView, 0);
}

std::string Join(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& n : names) list += (list.empty() ? "" : ";") + n;
  return list;
}

std::string Error(LSTATUS status) {
  char text[256] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(status), 0,
                 text, sizeof text, nullptr);
  std::string s = text;
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
  return s + (status == ERROR_ACCESS_DENIED ? " (run as administrator)" : "");
}

}  // namespace

int InstallPackage(const Args& args) {
  if (args.size() != 2) return Fail(kUsage, "usage: atrybuty-tool install-package NAME CONFIG");
  const std::string name = TrimSpaces(args[0]);
  if (name.empty() || name.find(';') != std::string::npos || name.find('\\') != std::string::npos) {
    return Fail(kUsage, "a package name must not be empty nor hold \";\" or \"\\\"");
  }
  char full[MAX_PATH * 4];
  if (!GetFullPathNameA(args[1].c_str(), sizeof full, full, nullptr)) return Fail(kFailed, "bad path " + args[1]);
  auto bytes = ReadFileBytes(full);
  if (!bytes || bytes->empty()) return Fail(kFailed, std::string("cannot read ") + full);
  atrybuty::Scramble(*bytes);
  const auto table =
      LoadLayerTable(Profile::Parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size())));
  if (const auto* failure = std::get_if<LayerTableFailure>(&table)) {
    return Fail(kFailed, std::string(full) + " is no scrambled package configuration: " + Describe(*failure));
  }

  win32::WinRegistry registry;
  std::vector<std::string> names;
  bool listed = false;
  for (const std::string& entry : SplitPackageList(registry.ReadRegValue(kAtrybutyKey, kMruListValue))) {
    if (TrimSpaces(entry).empty()) continue;
    listed = listed || TrimSpaces(entry) == name;
    names.push_back(entry);
  }
  if (!listed) names.push_back(name);
  if (LSTATUS s = WriteText(PackageKey(name), kPackagePathValue, full); s != ERROR_SUCCESS)
    return Fail(kFailed, Error(s));
  if (LSTATUS s = WriteText(kAtrybutyKey, kMruListValue, Join(names)); s != ERROR_SUCCESS)
    return Fail(kFailed, Error(s));
  std::printf("Package \"%s\" installed: %d layers, configuration %s\n", name.c_str(),
              std::get<LayerTable>(table).LayerCount(), full);
  return kOk;
}

int RemovePackage(const Args& args) {
  if (args.size() != 1) return Fail(kUsage, "usage: atrybuty-tool remove-package NAME");
  const std::string name = TrimSpaces(args[0]);
  win32::WinRegistry registry;
  std::vector<std::string> names;
  bool found = false;
  for (const std::string& entry : SplitPackageList(registry.ReadRegValue(kAtrybutyKey, kMruListValue))) {
    if (TrimSpaces(entry) == name)
      found = true;
    else if (!TrimSpaces(entry).empty())
      names.push_back(entry);
  }
  if (DeleteTree(PackageKey(name)) == ERROR_SUCCESS) found = true;
  if (!found) return Fail(kFailed, "no package \"" + name + "\" is installed");
  RegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAtrybutyKey, 0, KEY_SET_VALUE | kView, key.Receive()) == ERROR_SUCCESS) {
    if (names.empty()) {
      RegDeleteValueA(key.Get(), kMruListValue);
    } else if (LSTATUS s = WriteText(kAtrybutyKey, kMruListValue, Join(names)); s != ERROR_SUCCESS) {
      return Fail(kFailed, Error(s));
    }
  }
  key.Reset();
  // The last package gone: the keys that only held the list go too.
  for (const char* path : {kAtrybutyKey, "Software\\KELMO"}) {
    if (IsEmptyKey(path)) RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path, kView, 0);
  }
  std::printf("Package \"%s\" removed\n", name.c_str());
  return kOk;
}

}  // namespace atrybuty::tool
