// The platform's services for the tool's commands.

#include <cstdlib>

#include "core/config/registry.h"
#include "core/mapfile/data_file_path.h"
#include "core/text/paths.h"
#include "tool/commands.h"

#ifdef _WIN32
#include "win32/config/win_registry.h"
#include "win32/mapfile/journal_location.h"
#include "win32/mapfile/win_data_files.h"
#include "win32/text/ansi_codec.h"
#else
#include "core/platform/posix_data_files.h"
#endif

namespace atrybuty::tool {

#ifdef _WIN32

DataFiles& Files() {
  static win32::WinDataFiles files;
  return files;
}

const TextCodec& SystemCodec() {
  static const win32::AnsiCodec codec;
  return codec;
}

std::filesystem::path DefaultJournalPath() { return win32::JournalPath(); }

std::optional<std::filesystem::path> MapDataDirectory() {
  win32::WinRegistry registry;
  const std::string programFiles = registry.ReadRegValue(kCurrentVersionKey, kProgramFilesDirValue);
  if (programFiles.empty()) return std::nullopt;
  return PathFromAnsi(SystemCodec(), DataDirectory(programFiles));
}

#else

DataFiles& Files() {
  static PosixDataFiles files;
  return files;
}

const TextCodec& SystemCodec() {
  static const Cp1250Codec codec;
  return codec;
}

std::filesystem::path DefaultJournalPath() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) {
    return std::filesystem::path(data) / "atrybuty" / "zmiany.txt";
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home ? home : ".") / ".local" / "share" / "atrybuty" / "zmiany.txt";
}

// No Microsoft Map here: the data folder is named with --data-dir.
std::optional<std::filesystem::path> MapDataDirectory() { return std::nullopt; }

#endif

}  // namespace atrybuty::tool
