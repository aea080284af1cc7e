#include "core/config/layer_table.h"

#include <charconv>

#include "core/config/file_bytes.h"

namespace atrybuty {
namespace {

// MapCount is a decimal integer with an optional sign; the profile reader has
// already trimmed the blanks around it.
std::variant<long long, LayerTableError> ParseCount(std::string_view text) {
  if (text.empty()) return LayerTableError::CountMissing;
  std::string_view digits = text;
  bool negative = false;
  if (digits.front() == '+' || digits.front() == '-') {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
    return LayerTableError::CountNotANumber;
  // Any value with more digits than this is far beyond the limit anyway.
  const std::size_t firstSignificant = digits.find_first_not_of('0');
  if (firstSignificant == std::string_view::npos) return 0LL;
  if (digits.size() - firstSignificant > 12)
    return negative ? LayerTableError::CountNegative : LayerTableError::CountTooLarge;
  long long value = 0;
  std::from_chars(digits.data() + firstSignificant, digits.data() + digits.size(), value);
  return negative ? -value : value;
}

}  // namespace

LayerTableResult LoadLayerTable(const Profile& config) {
  const std::string_view countText = config.Find("Global", "MapCount", kConfigValueBuffer);
  const auto parsed = ParseCount(countText);
  if (const auto* error = std::get_if<LayerTableError>(&parsed))
    return LayerTableFailure{*error, std::string(countText)};
  const long long count = std::get<long long>(parsed);
  if (count < 0) return LayerTableFailure{LayerTableError::CountNegative, std::string(countText)};
  if (count > kMaxLayers) return LayerTableFailure{LayerTableError::CountTooLarge, std::string(countText)};

  LayerTable table;
  table.entries.reserve(static_cast<std::size_t>(count) + 1);
  table.entries.emplace_back();
  // "Map i" is written over the same few bytes for every layer.
  char section[16] = "Map ";
  for (int i = 1; i <= count; ++i) {
    const char* end = std::to_chars(section + 4, section + sizeof section, i).ptr;
    const std::string_view name(section, static_cast<std::size_t>(end - section));
    const auto [layerName, mapName] = config.FindKeys(name, {"LayerName", "MapName"}, kConfigValueBuffer);
    table.entries.push_back(Layer{std::string(layerName), std::string(mapName)});
    table.nameChars += layerName.size();
  }
  return table;
}

LayerTableResult LoadLayerTableFile(const std::filesystem::path& clearConfigPath) {
  auto text = ReadFileText(clearConfigPath);
  if (!text) return LayerTableFailure{LayerTableError::FileUnreadable, {}};
  return LoadLayerTable(Profile::Parse(std::move(*text)));
}

std::string Describe(const LayerTableFailure& failure) {
  switch (failure.error) {
    case LayerTableError::FileUnreadable:
      return "the configuration cannot be read";
    case LayerTableError::CountMissing:
      return "[Global] MapCount is missing or empty";
    case LayerTableError::CountNotANumber:
      return "[Global] MapCount \"" + failure.countText + "\" is not a number";
    case LayerTableError::CountNegative:
      return "[Global] MapCount " + failure.countText + " is negative";
    case LayerTableError::CountTooLarge:
      return "[Global] MapCount " + failure.countText + " is above " + std::to_string(kMaxLayers);
  }
  return "unknown error";
}

}  // namespace atrybuty
