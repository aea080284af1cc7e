#include "win32/config/win_temp_files.h"

#include <windows.h>

#include <vector>

namespace atrybuty::win32 {

std::string WinTempFiles::Directory() {
  char buffer[255];
  DWORD n = GetTempPathA(254, buffer);
  if (n == 0) return "c:\\";
  if (n < 254) return std::string(buffer, n);
  // Deeper than the usual buffer: read it whole rather than cut it.
  std::vector<char> big(static_cast<std::size_t>(n) + 1);
  n = GetTempPathA(static_cast<DWORD>(big.size()), big.data());
  if (n == 0 || n >= big.size()) return "c:\\";
  return std::string(big.data(), n);
}

std::string WinTempFiles::CreateUnique(const std::string& directory, const std::string& prefix) {
  // GetTempFileNameA may write up to MAX_PATH characters whatever the path's length.
  char name[MAX_PATH + 1] = {};
  if (GetTempFileNameA(directory.c_str(), prefix.c_str(), 0, name) == 0) return {};
  return std::string(name);  // cut at the first NUL
}

}  // namespace atrybuty::win32
