#include "win32/config/registry_writer.h"

#include "win32/handles.h"

namespace atrybuty::win32 {

LSTATUS WriteRegistryText(RegistryPlace at, const std::wstring& subKey, const std::wstring& name,
                          const std::wstring& text) {
  RegKey key;
  LSTATUS status = RegCreateKeyExW(at.root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE | at.view, nullptr,
                                   key.Receive(), nullptr);
  if (status != ERROR_SUCCESS) return status;
  return RegSetValueExW(key.Get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

LSTATUS DeleteRegistryValue(RegistryPlace at, const std::wstring& subKey, const std::wstring& name) {
  RegKey key;
  LSTATUS status = RegOpenKeyExW(at.root, subKey.c_str(), 0, KEY_SET_VALUE | at.view, key.Receive());
  if (status != ERROR_SUCCESS) return status;
  return RegDeleteValueW(key.Get(), name.c_str());
}

LSTATUS DeleteRegistryTree(RegistryPlace at, const std::wstring& subKey) {
  RegKey key;
  LSTATUS status = RegOpenKeyExW(at.root, subKey.c_str(), 0, KEY_ALL_ACCESS | at.view, key.Receive());
  if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteTreeW(key.Get(), nullptr);
  key.Reset();
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteKeyExW(at.root, subKey.c_str(), at.view, 0);
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

bool IsEmptyRegistryKey(RegistryPlace at, const std::wstring& subKey) {
  RegKey key;
  if (RegOpenKeyExW(at.root, subKey.c_str(), 0, KEY_READ | at.view, key.Receive()) != ERROR_SUCCESS) return false;
  DWORD subkeys = 0, values = 0;
  return RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

void DeleteRegistryKeyIfEmpty(RegistryPlace at, const std::wstring& subKey) {
  if (IsEmptyRegistryKey(at, subKey)) RegDeleteKeyExW(at.root, subKey.c_str(), at.view, 0);
}

}  // namespace atrybuty::win32
