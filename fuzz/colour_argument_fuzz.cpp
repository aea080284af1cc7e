// The input as the tool's colour argument: an accepted text is "#RRGGBB" or a
// decimal value up to 0xFFFFFF, and the web form of the value parses back to
// the same value.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/mapfile/colour.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace atrybuty;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto value = ParseColourArgument(text);
  if (!value) return 0;
  FUZZ_CHECK(*value <= 0xFFFFFF);
  FUZZ_CHECK((text.size() == 7 && text.front() == '#') ||
             (!text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos));
  FUZZ_CHECK(ParseColourArgument(WebColour(*value)) == value);
  FUZZ_CHECK(ParseColourArgument(ColourDecimal(*value)) == value);
  return 0;
}
