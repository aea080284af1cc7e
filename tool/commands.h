#pragma once
// The commands of atrybuty-tool. Each takes its parsed options and returns
// the process's exit code; messages go to standard error, results to
// standard output (as JSON with --json).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/mapfile/data_files.h"
#include "core/text/codec.h"

namespace atrybuty::tool {

// The exit codes, one table for every command.
enum ExitCode {
  kOk = 0,
  kFailed = 1,       // a file could not be read or written, or holds bad data
  kUsage = 2,        // wrong arguments
  kNoRecord = 3,     // the data file holds no line-style record
  kRefused = 4,      // the file no longer holds what the command relies on: nothing written
  kWindowsOnly = 5,  // the command needs Windows
};

// Prints "atrybuty-tool: <message>" on standard error and returns `code`.
int Fail(int code, const std::string& message);
// Prints UTF-8 text on standard output.
void Print(const std::string& text);

// The platform's services as the commands use them.
DataFiles& Files();
const TextCodec& SystemCodec();  // the ANSI code page (1250 off Windows)
// The change journal the component writes: %APPDATA%\Atrybuty\zmiany.txt on
// Windows; $XDG_DATA_HOME/atrybuty/zmiany.txt (or ~/.local/share/...) elsewhere.
std::filesystem::path DefaultJournalPath();
// The map data directory of this computer (Windows: from the registry, as
// the component finds it); nothing when it cannot be known.
std::optional<std::filesystem::path> MapDataDirectory();

struct TransformOptions {
  std::string in, out;
};
int Scramble(const TransformOptions& o);

struct LayersOptions {
  std::string config;
  bool clear = false, scrambled = false, json = false;
  std::optional<std::string> dataDir;
};
int Layers(const LayersOptions& o);

struct ShowOptions {
  std::string file;
  bool json = false;
};
int Show(const ShowOptions& o);

struct SetOptions {
  std::string file;
  std::optional<int> thickness, style;
  std::optional<std::uint32_t> colour;
  std::optional<std::string> journal;
};
int Set(const SetOptions& o);

struct HistoryOptions {
  std::optional<std::string> journal;
  bool json = false;
};
int History(const HistoryOptions& o);

struct UndoOptions {
  std::size_t change = 0;
  std::optional<std::string> journal, file, dataDir;
};
int Undo(const UndoOptions& o);

// export OUT / import IN: the package from the registry (Windows) or from
// --config and --data-dir.
struct StyleOptions {
  std::string file;
  std::optional<std::string> package, config, dataDir, journal;
  std::vector<std::string> layers;  // import: only these (UTF-8)
  bool json = false;
};
int Export(const StyleOptions& o);
int Import(const StyleOptions& o);

struct PackageOptions {
  std::string name, config;
};
int InstallPackage(const PackageOptions& o);
int RemovePackage(const PackageOptions& o);

}  // namespace atrybuty::tool
