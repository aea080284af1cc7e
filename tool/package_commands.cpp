// install-package and remove-package: a map package's registration, as the
// component reads it, in the 32-bit registry view where map packages' 32-bit
// installers write it (Windows only):
//   HKLM\Software\KELMO\Atrybuty          MRUList = "name1;name2;..."
//   HKLM\Software\KELMO\Atrybuty\<name>   path    = the scrambled configuration

#include "tool/commands.h"

#ifdef _WIN32

#include <windows.h>

#include <vector>

#include "core/config/package_configuration.h"
#include "core/config/file_bytes.h"
#include "core/config/layer_table.h"
#include "core/config/profile.h"
#include "core/config/registry.h"
#include "core/config/scramble.h"
#include "win32/config/registry_writer.h"
#include "win32/config/win_registry.h"
#include "win32/system_message.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::tool {
namespace {

const win32::RegistryPlace kPackages{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY};

std::wstring Wide(const std::string& ansi) { return win32::AnsiToWide(ansi); }

// Package names match as Windows matches key names: without regard to case.
bool SameName(const std::string& ansi, const std::wstring& name) {
  const std::wstring a = Wide(ansi);
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), name.c_str(), static_cast<int>(name.size()),
                              TRUE) == CSTR_EQUAL;
}

std::string Join(const std::vector<std::string>& names) {
  std::string list;
  for (const std::string& n : names) list += (list.empty() ? "" : ";") + n;
  return list;
}

std::string Error(LSTATUS status) {
  return win32::WideToUtf8(win32::SystemMessage(HRESULT_FROM_WIN32(status))) +
         (status == ERROR_ACCESS_DENIED ? " (run as administrator)" : "");
}

// The full path, however long.
std::wstring FullPath(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0) return {};
    if (n < full.size()) return full.substr(0, n);
    full.resize(n);
  }
}

// The name as the registry takes it: without blanks around it, and neither
// empty nor holding the list's separator or a key separator.
std::optional<std::wstring> PackageName(const std::string& utf8) {
  const std::wstring name = win32::Utf8ToWide(TrimSpaces(utf8));
  if (name.empty() || name.find_first_of(L";\\") != std::wstring::npos ||
      name.find_first_not_of(L" \t") == std::wstring::npos)
    return std::nullopt;
  return name;
}

}  // namespace

int InstallPackage(const PackageOptions& o) {
  const auto name = PackageName(o.name);
  if (!name) return Fail(kUsage, "a package name must not be empty nor hold \";\" or \"\\\"");
  const std::wstring full = FullPath(win32::Utf8ToWide(o.config));
  if (full.empty()) return Fail(kFailed, "bad path " + o.config);
  auto bytes = ReadFileBytes(std::filesystem::path(full));
  if (!bytes || bytes->empty()) return Fail(kFailed, "cannot read " + win32::WideToUtf8(full));
  atrybuty::Scramble(*bytes);
  const auto table =
      LoadLayerTable(Profile::Parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size())));
  if (const auto* failure = std::get_if<LayerTableFailure>(&table)) {
    return Fail(kFailed, win32::WideToUtf8(full) + " is no scrambled package configuration: " + Describe(*failure));
  }

  win32::WinRegistry registry;
  std::vector<std::string> names;
  bool listed = false;
  for (const std::string& entry : SplitPackageList(registry.ReadRegValue(kAtrybutyKey, kMruListValue))) {
    if (TrimSpaces(entry).empty()) continue;
    listed = listed || SameName(TrimSpaces(entry), *name);
    names.push_back(entry);
  }
  if (!listed) names.push_back(win32::WideToAnsi(*name));
  const std::wstring atrybuty = Wide(kAtrybutyKey);
  if (LSTATUS s = win32::WriteRegistryText(kPackages, atrybuty + L"\\" + *name, L"path", full); s != ERROR_SUCCESS)
    return Fail(kFailed, Error(s));
  if (LSTATUS s = win32::WriteRegistryText(kPackages, atrybuty, L"MRUList", Wide(Join(names))); s != ERROR_SUCCESS)
    return Fail(kFailed, Error(s));
  Print("Package \"" + win32::WideToUtf8(*name) + "\" installed: " +
        std::to_string(std::get<LayerTable>(table).LayerCount()) + " layers, configuration " +
        win32::WideToUtf8(full) + "\n");
  return kOk;
}

int RemovePackage(const PackageOptions& o) {
  const auto name = PackageName(o.name);
  if (!name) return Fail(kUsage, "a package name must not be empty nor hold \";\" or \"\\\"");
  win32::WinRegistry registry;
  std::vector<std::string> names;
  bool found = false;
  for (const std::string& entry : SplitPackageList(registry.ReadRegValue(kAtrybutyKey, kMruListValue))) {
    if (SameName(TrimSpaces(entry), *name))
      found = true;
    else if (!TrimSpaces(entry).empty())
      names.push_back(entry);
  }
  const std::wstring atrybuty = Wide(kAtrybutyKey);
  const std::wstring key = atrybuty + L"\\" + *name;
  if (!registry.ReadRegValue(win32::WideToAnsi(key), kPackagePathValue).empty() ||
      win32::IsEmptyRegistryKey(kPackages, key))
    found = true;
  if (!found) return Fail(kFailed, "no package \"" + win32::WideToUtf8(*name) + "\" is installed");
  if (LSTATUS s = win32::DeleteRegistryTree(kPackages, key); s != ERROR_SUCCESS) return Fail(kFailed, Error(s));
  const LSTATUS s = names.empty() ? win32::DeleteRegistryValue(kPackages, atrybuty, L"MRUList")
                                  : win32::WriteRegistryText(kPackages, atrybuty, L"MRUList", Wide(Join(names)));
  if (s != ERROR_SUCCESS && s != ERROR_FILE_NOT_FOUND) return Fail(kFailed, Error(s));
  // The last package gone: the keys that only held the list go too.
  win32::DeleteRegistryKeyIfEmpty(kPackages, atrybuty);
  win32::DeleteRegistryKeyIfEmpty(kPackages, L"Software\\KELMO");
  Print("Package \"" + win32::WideToUtf8(*name) + "\" removed\n");
  return kOk;
}

}  // namespace atrybuty::tool

#else

namespace atrybuty::tool {

int InstallPackage(const PackageOptions&) {
  return Fail(kWindowsOnly, "install-package registers a package in the Windows registry: it runs on Windows only");
}
int RemovePackage(const PackageOptions&) {
  return Fail(kWindowsOnly, "remove-package unregisters a package from the Windows registry: it runs on Windows only");
}

}  // namespace atrybuty::tool

#endif
