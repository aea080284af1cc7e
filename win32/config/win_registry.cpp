#include "win32/config/win_registry.h"

#include <vector>

#include "win32/handles.h"

namespace atrybuty::win32 {

// The value is queried twice: first for its size, then into a buffer of that
// size. The text is cut by the size the second query reports (which counts
// the terminating NUL), not at a NUL, so embedded NULs stay. Values of any
// length are read whole.
//
// Map packages come with 32-bit installers, so on 64-bit Windows their keys
// and the Program Files directory they use ("Program Files (x86)") are those
// of the 32-bit registry view. The view is named, so that a build of any
// bitness reads what the 32-bit map component reads; 32-bit Windows has one
// view and ignores the flag.
std::string WinRegistry::ReadRegValue(std::string_view subKey, std::string_view valueName) {
  const std::string key(subKey), name(valueName);
  RegKey k;
  if (RegOpenKeyExA(root_, key.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, k.Receive()) != ERROR_SUCCESS) return {};

  DWORD size = 0;
  if (RegQueryValueExA(k.Get(), name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0)
    return {};
  // Room for the text and a NUL even if the value was stored without one.
  std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
  DWORD got = size;
  if (RegQueryValueExA(k.Get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &got) !=
          ERROR_SUCCESS ||
      got == 0)
    return {};
  return std::string(buffer.data(), std::min<std::size_t>(got - 1, size));
}

}  // namespace atrybuty::win32
