#include "win32/mapfile/journal_location.h"

#include <windows.h>
#include <shlobj.h>

namespace atrybuty::win32 {

std::filesystem::path JournalPath() {
  wchar_t folder[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, folder))) {
    return std::filesystem::path(folder) / L"Atrybuty" / L"zmiany.txt";
  }
  return std::filesystem::temp_directory_path() / L"Atrybuty" / L"zmiany.txt";
}

}  // namespace atrybuty::win32
