// LoadLayerTable over any configuration text: a table of the size MapCount
// names, or a failure that matches what MapCount holds.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "core/config/profile.h"
#include "core/config/layer_table.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace atrybuty;
  const Profile config = Profile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  const LayerTableResult result = LoadLayerTable(config);
  const std::string countText = config.Get("Global", "MapCount", kConfigValueBuffer);

  if (const auto* table = std::get_if<LayerTable>(&result)) {
    FUZZ_CHECK(!table->entries.empty());
    FUZZ_CHECK(table->entries.size() == static_cast<std::size_t>(table->LayerCount()) + 1);
    FUZZ_CHECK(table->LayerCount() >= 0 && table->LayerCount() <= kMaxLayers);
    FUZZ_CHECK(table->entries[0].name.empty() && table->entries[0].fileName.empty());
    FUZZ_CHECK(!countText.empty());
    // The count is MapCount itself: a sign and digits, nothing else.
    FUZZ_CHECK(countText.find_first_not_of("+-0123456789") == std::string::npos);
    FUZZ_CHECK(countText.find_first_of("+-", 1) == std::string::npos);
    FUZZ_CHECK(std::stol(countText) == table->LayerCount());
    std::size_t nameChars = 0;
    for (const Layer& layer : table->entries) {
      FUZZ_CHECK(layer.name.size() < kConfigValueBuffer);
      FUZZ_CHECK(layer.fileName.size() < kConfigValueBuffer);
      nameChars += layer.name.size();
    }
    FUZZ_CHECK(table->nameChars == nameChars);
    // Each layer is what the one-key lookups give (the first few, to keep runs fast).
    for (int i = 1; i <= std::min(table->LayerCount(), 8); ++i) {
      const std::string section = "map " + std::to_string(i);
      FUZZ_CHECK(table->entries[i].name == config.Get(section, "LAYERNAME", kConfigValueBuffer));
      FUZZ_CHECK(table->entries[i].fileName == config.Get(section, "mapname", kConfigValueBuffer));
    }
    return 0;
  }

  const auto& failure = std::get<LayerTableFailure>(result);
  FUZZ_CHECK(failure.countText == countText);
  FUZZ_CHECK(failure.error != LayerTableError::FileUnreadable);
  FUZZ_CHECK((failure.error == LayerTableError::CountMissing) == countText.empty());
  if (failure.error == LayerTableError::CountNegative) FUZZ_CHECK(countText.front() == '-');
  if (failure.error == LayerTableError::CountTooLarge) FUZZ_CHECK(countText.front() != '-');
  FUZZ_CHECK(!Describe(failure).empty());
  return 0;
}
