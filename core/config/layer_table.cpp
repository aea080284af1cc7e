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
  const std::string countText = config.Get("Global", "MapCount", kConfigValueBuffer);
  const auto parsed = ParseCount(countText);
  if (const auto* error = std::get_if<LayerTableError>(&parsed)) return LayerTableFailure{*error, countText};
  const long long count = std::get<long long>(parsed);
  if (count < 0) return LayerTableFailure{LayerTableError::CountNegative, countText};
  if (count > kMaxLayers) return LayerTableFailure{LayerTableError::CountTooLarge, countText};

  LayerTable table;
  table.entries.resize(static_cast<std::size_t>(count) + 1);
  std::string section;
  for (int i = 1; i <= count; ++i) {
    section = "Map " + std::to_string(i);
    table.entries[i].name = config.Get(section, "LayerName", kConfigValueBuffer);
    table.entries[i].fileName = config.Get(section, "MapName", kConfigValueBuffer);
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
