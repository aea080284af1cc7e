#include "win32/mapfile/journal_location.h"

#include <windows.h>
#include <shlobj.h>

namespace atrybuty::win32 {

std::filesystem::path JournalPath() {
  wchar_t folder[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, folder))) {
    return std::filesystem::path(folder) / L"Atrybuty" / L"zmiany.txt";
  }
  // No profile folder: the temporary one, or none (the journal then cannot
  // be written, which the user is told at the first change).
  std::error_code ec;
  const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
  if (ec) return {};
  return temp / L"Atrybuty" / L"zmiany.txt";
}

}  // namespace atrybuty::win32
