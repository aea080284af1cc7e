#include "tool/journal_location.h"

#include <cstdlib>

#ifdef _WIN32
#include "win32/mapfile/journal_location.h"
#endif

namespace atrybuty::tool {

std::filesystem::path DefaultJournalPath() {
#ifdef _WIN32
  return win32::JournalPath();
#else
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
    return std::filesystem::path(data) / "atrybuty" / "zmiany.txt";
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home ? home : ".") / ".local" / "share" / "atrybuty" / "zmiany.txt";
#endif
}

}  // namespace atrybuty::tool
