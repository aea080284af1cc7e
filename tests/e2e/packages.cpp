#include "e2e/packages.h"

#include <windows.h>

#include <filesystem>

namespace atrybuty::e2e {
namespace {

constexpr char kRoot[] = "Software\\KELMO\\Atrybuty";
// Map packages come with 32-bit installers: on 64-bit Windows their keys
// lie in the 32-bit view (ignored on 32-bit Windows, where there is one).
constexpr REGSAM kView = KEY_WOW64_32KEY;

void DeleteRoot() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\KELMO", 0, KEY_ALL_ACCESS | kView, &key) != ERROR_SUCCESS) return;
  RegDeleteTreeA(key, "Atrybuty");
  RegCloseKey(key);
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kRoot, kView, 0);
}

}  // namespace

std::string ReadMachineText(const char* subKey, const char* value) {
  char buffer[1024] = {};
  DWORD size = sizeof buffer - 1;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, subKey, value, RRF_RT_REG_SZ | RRF_SUBKEY_WOW6432KEY, nullptr, buffer,
                   &size) != ERROR_SUCCESS)
    return {};
  return buffer;
}

void WriteMachineText(const char* subKey, const char* value, const std::string& text) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, nullptr, 0, KEY_SET_VALUE | kView, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

void DeleteMachineValue(const char* subKey, const char* value) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subKey, 0, KEY_SET_VALUE | kView, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, value);
  RegCloseKey(key);
}

std::string MapDataDirectory() {
  // "C:\Program Files (x86)" on 64-bit Windows, "C:\Program Files" on 32-bit.
  std::string programFiles = ReadMachineText("Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
  if (programFiles.empty()) programFiles = "C:\\Program Files";
  return programFiles + "\\Common Files\\Microsoft Shared\\Datamap\\Data\\";
}

Packages::Packages(bool keep) : keep_(keep) {
  DeleteRoot();
  dataDir_ = MapDataDirectory();
  configDir_ = "C:\\AtrybutyTest\\";
  std::error_code ec;
  std::filesystem::remove_all(dataDir_, ec);
  std::filesystem::remove_all(configDir_, ec);
  std::filesystem::create_directories(dataDir_, ec);
  std::filesystem::create_directories(configDir_, ec);
}

Packages::~Packages() {
  if (keep_) return;
  DeleteRoot();
  std::error_code ec;
  std::filesystem::remove_all(dataDir_, ec);
  std::filesystem::remove_all(configDir_, ec);
}

void Packages::Install(const samples::SamplePackage& package, const std::string& registryName) {
  const auto path = samples::WritePackage(package, configDir_, dataDir_,
                                          "pkg" + std::to_string(GetTickCount()) + std::to_string(rand()));
  SetPackagePath(registryName, path.value_or(""));
}

void Packages::SetMruList(const std::string& ansi) { WriteMachineText(kRoot, "MRUList", ansi); }
void Packages::RemoveMruList() { DeleteMachineValue(kRoot, "MRUList"); }

void Packages::SetPackagePath(const std::string& registryName, const std::string& path) {
  WriteMachineText((std::string(kRoot) + "\\" + registryName).c_str(), "path", path);
}

std::string Packages::DataFile(const std::string& fileName) const { return dataDir_ + fileName; }

}  // namespace atrybuty::e2e
