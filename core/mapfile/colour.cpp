#include "core/mapfile/colour.h"

#include <charconv>

namespace atrybuty {
namespace {

std::optional<std::uint32_t> ParseHexDigits(std::string_view text) {
  std::uint32_t value = 0;
  if (text.empty()) return std::nullopt;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::string UpperHex(std::uint64_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return out;
}

std::string ColourDecimal(std::uint32_t value) { return std::to_string(value); }

std::string KolorHex(std::uint32_t value) {
  std::string hex = UpperHex(value);
  if (hex.size() < 6) hex.insert(0, 6 - hex.size(), '0');
  return hex;
}

std::optional<RgbBytes> BytesOfKolorHex(std::string_view kolorHex) {
  if (kolorHex.size() != 6 || kolorHex.find_first_not_of("0123456789ABCDEFabcdef") != std::string_view::npos)
    return std::nullopt;
  RgbBytes c;
  c.blue = static_cast<std::uint8_t>(*ParseHexDigits(kolorHex.substr(0, 2)));
  c.green = static_cast<std::uint8_t>(*ParseHexDigits(kolorHex.substr(2, 2)));
  c.red = static_cast<std::uint8_t>(*ParseHexDigits(kolorHex.substr(4, 2)));
  return c;
}

std::optional<std::uint32_t> ParseColourArgument(std::string_view text) {
  if (!text.empty() && text.front() == '#') {
    const auto hex = text.substr(1);
    if (hex.size() != 6 || hex.find_first_not_of("0123456789ABCDEFabcdef") != std::string_view::npos)
      return std::nullopt;
    const std::uint32_t web = *ParseHexDigits(hex);
    return ColourValue(
        {static_cast<std::uint8_t>(web >> 16), static_cast<std::uint8_t>(web >> 8), static_cast<std::uint8_t>(web)});
  }
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > 0xFFFFFF) return std::nullopt;
  return value;
}

std::string WebColour(std::uint32_t value) {
  const RgbBytes c = ColourBytes(value);
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out = "#";
  for (std::uint8_t b : {c.red, c.green, c.blue}) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0xF]);
  }
  return out;
}

}  // namespace atrybuty
