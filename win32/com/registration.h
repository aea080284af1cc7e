#pragma once
// Registration of the automation server, its class, ProgIDs, interface and
// type library: for the whole machine (HKLM\Software\Classes) or for the
// current user only (HKCU\Software\Classes, no administrator rights needed).
// Unregistration removes exactly the keys registration writes.

#include <windows.h>

#include <string>
#include <vector>

namespace atrybuty::win32 {

enum class RegistrationScope { Machine, User };

inline constexpr wchar_t kProgId[] = L"Atrybuty.MorvalyClsAttribute";
inline constexpr wchar_t kVersionedProgId[] = L"Atrybuty.MorvalyClsAttribute.1";
inline constexpr wchar_t kLineStylesProgId[] = L"Atrybuty.LineStyles";
inline constexpr wchar_t kVersionedLineStylesProgId[] = L"Atrybuty.LineStyles.1";

// The keys registration writes below the scope's Software\Classes, in the
// order they are written (parents first).
std::vector<std::wstring> RegistrationKeys();

HRESULT RegisterServer(RegistrationScope scope, const std::wstring& exePath);
HRESULT UnregisterServer(RegistrationScope scope);

}  // namespace atrybuty::win32
