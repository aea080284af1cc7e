#pragma once
// The system's own text for an HRESULT or a Win32 error code, in the user's
// language, with the code: "Odmowa dostępu. (0x80070005)".

#include <windows.h>

#include <string>

namespace atrybuty::win32 {

std::wstring SystemMessage(HRESULT hr);

}  // namespace atrybuty::win32
