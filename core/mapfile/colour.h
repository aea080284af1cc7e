#pragma once
// The forms of a line colour. The value is red + 256 * green + 65536 * blue,
// as the colour swatch and the Windows colour dialog hold it; KolorHex is the
// same value as upper-case hexadecimal padded to six digits, so its pairs
// read blue, green, red.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace atrybuty {

struct RgbBytes {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const RgbBytes&, const RgbBytes&) = default;
};

constexpr std::uint32_t ColourValue(RgbBytes c) { return c.red + 256u * c.green + 65536u * c.blue; }
constexpr RgbBytes ColourBytes(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>((value >> 8) & 0xFF),
          static_cast<std::uint8_t>((value >> 16) & 0xFF)};
}

// Upper-case hexadecimal without leading zeros ("0" for zero).
std::string UpperHex(std::uint64_t value);
// The decimal form: 255 for pure red.
std::string ColourDecimal(std::uint32_t value);
// KolorHex: "0000FF" for pure red; a value of more than six digits stays unpadded.
std::string KolorHex(std::uint32_t value);
// The three bytes KolorHex names: characters 1-2 blue, 3-4 green, 5-6 red.
// Nothing when the text is not six hexadecimal digits.
std::optional<RgbBytes> BytesOfKolorHex(std::string_view kolorHex);

// "#RRGGBB" (web order) or a decimal colour value; nothing for anything else
// or a value above 0xFFFFFF.
std::optional<std::uint32_t> ParseColourArgument(std::string_view text);
// "#RRGGBB", web order.
std::string WebColour(std::uint32_t value);

}  // namespace atrybuty
