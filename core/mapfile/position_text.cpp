#include "core/mapfile/position_text.h"

#include "core/mapfile/colour.h"

namespace atrybuty {

std::string PositionText(std::uint32_t offset) { return UpperHex(static_cast<std::uint64_t>(offset) + 1); }

std::optional<std::uint32_t> OffsetOfPosition(std::string_view text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else
      return std::nullopt;
    value = value * 16 + static_cast<std::uint64_t>(digit);
  }
  if (value == 0) return std::nullopt;  // positions are 1-based
  return static_cast<std::uint32_t>(value - 1);
}

}  // namespace atrybuty
