#pragma once
// Position texts: the 1-based position of a data-file byte in upper-case
// hexadecimal without prefix or leading zeros ("50E" for offset 0x50D). They
// carry a record byte's place from reading to writing and are always read
// back unsigned.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace atrybuty {

std::string PositionText(std::uint32_t offset);
// The 0-based offset, or nothing for text that is not a position.
std::optional<std::uint32_t> OffsetOfPosition(std::string_view text);

}  // namespace atrybuty
