#pragma once
// Writing and removing registry keys, in a named registry view: the one
// writer of the server's registration and the tool's package registration.

#include <windows.h>

#include <string>

namespace atrybuty::win32 {

// A key of a registry view: KEY_WOW64_64KEY or KEY_WOW64_32KEY (32-bit
// Windows has one view and ignores both).
struct RegistryPlace {
  HKEY root;
  REGSAM view;
};

// Creates the key as needed and sets a text value (REG_SZ); an empty `name`
// is the key's default value.
LSTATUS WriteRegistryText(RegistryPlace at, const std::wstring& subKey, const std::wstring& name,
                          const std::wstring& text);
LSTATUS DeleteRegistryValue(RegistryPlace at, const std::wstring& subKey, const std::wstring& name);
// The key and everything below it; ERROR_SUCCESS when it was not there.
LSTATUS DeleteRegistryTree(RegistryPlace at, const std::wstring& subKey);
// Whether the key exists and holds neither values nor keys.
bool IsEmptyRegistryKey(RegistryPlace at, const std::wstring& subKey);
// Deletes the key if it exists and is empty.
void DeleteRegistryKeyIfEmpty(RegistryPlace at, const std::wstring& subKey);

}  // namespace atrybuty::win32
