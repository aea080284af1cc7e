// The input as a position text: a text the parser accepts is 1 to 8
// hexadecimal digits naming a position from 1 up, and PositionText gives
// back its canonical form, which parses to the same offset.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/mapfile/position_text.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace atrybuty;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto offset = OffsetOfPosition(text);
  if (!offset) return 0;
  FUZZ_CHECK(!text.empty() && text.size() <= 8);
  FUZZ_CHECK(text.find_first_not_of("0123456789ABCDEFabcdef") == std::string_view::npos);
  const std::string canonical = PositionText(*offset);
  FUZZ_CHECK(canonical.find_first_not_of("0123456789ABCDEF") == std::string::npos);
  FUZZ_CHECK(canonical.front() != '0');
  FUZZ_CHECK(OffsetOfPosition(canonical) == offset);
  return 0;
}
