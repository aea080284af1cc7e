#pragma once
// The layers of a map package, read from its clear configuration:
//   [Global]  MapCount=N            (0 to 32767)
//   [Map i]   LayerName=...  MapName=...   for i = 1..N
// Entry 0 exists and stays empty, so entry k belongs to list position k - 1.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/config/profile.h"

namespace atrybuty {

inline constexpr int kMaxLayers = 32767;
// Values are read into a buffer of 145 characters with a stated size of 144.
inline constexpr std::size_t kConfigValueBuffer = 144;

struct Layer {
  std::string name;      // ANSI text, as the configuration holds it
  std::string fileName;  // data file name, relative to the data directory
};

struct LayerTable {
  std::vector<Layer> entries;  // entries[0] is always empty
  std::size_t nameChars = 0;   // the names' lengths together, so a list can reserve their storage at once
  int LayerCount() const { return entries.empty() ? 0 : static_cast<int>(entries.size()) - 1; }
};

enum class LayerTableError {
  FileUnreadable,   // the clear copy cannot be read
  CountMissing,     // no MapCount (or it is empty)
  CountNotANumber,  // MapCount is not a decimal integer
  CountNegative,
  CountTooLarge,  // above 32767
};

struct LayerTableFailure {
  LayerTableError error;
  std::string countText;  // MapCount as read
};

using LayerTableResult = std::variant<LayerTable, LayerTableFailure>;

LayerTableResult LoadLayerTable(const Profile& config);
LayerTableResult LoadLayerTableFile(const std::filesystem::path& clearConfigPath);

// A short English description for logs and the command-line tool.
std::string Describe(const LayerTableFailure& failure);

}  // namespace atrybuty
