#include "core/mapfile/elevated_write.h"

#include <charconv>

#include "core/mapfile/colour.h"
#include "core/text/paths.h"

namespace atrybuty {
namespace {

std::string Hex(std::uint32_t value, int digits) {
  std::string text = UpperHex(value);
  if (static_cast<int>(text.size()) < digits) text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
  return text;
}

std::optional<std::uint32_t> ParseHex(const std::string& text, std::size_t digits) {
  if (text.size() != digits) return std::nullopt;
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::uint8_t> ParseByteValue(const std::string& text) {
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > 255) return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

constexpr char kNoColour[] = "-";
constexpr int kLastStatus = static_cast<int>(RecordWriteStatus::FailedHalfWritten);

}  // namespace

// FILE BASE OLD THICKNESS STYLE COLOUR JOURNAL PACKAGE LAYER, where BASE is six
// hexadecimal digits, OLD the five record bytes as ten, COLOUR RRGGBB or "-".
std::vector<std::string> ElevatedWriteArguments(const ElevatedWrite& r) {
  std::string old;
  for (std::uint8_t b : r.snapshot.style.Bytes()) old += Hex(b, 2);
  std::string colour = kNoColour;
  if (r.change.colour) {
    colour = Hex(r.change.colour->red, 2) + Hex(r.change.colour->green, 2) + Hex(r.change.colour->blue, 2);
  }
  return {Utf8FromPath(r.snapshot.path), Hex(r.snapshot.base, 6),        old,
          std::to_string(r.change.thickness), std::to_string(r.change.style), colour,
          Utf8FromPath(r.journal),           r.context.package,              r.context.layer};
}

std::optional<ElevatedWrite> ParseElevatedWrite(const std::vector<std::string>& a) {
  if (a.size() != 9 || a[0].empty()) return std::nullopt;
  ElevatedWrite r;
  r.snapshot.path = PathFromUtf8(a[0]);
  const auto base = ParseHex(a[1], 6);
  if (!base || *base == 0 || *base % 256 != 0) return std::nullopt;
  r.snapshot.base = *base;
  std::uint8_t old[5];
  for (std::size_t i = 0; i < 5; ++i) {
    const auto b = ParseHex(a[2].size() == 10 ? a[2].substr(i * 2, 2) : std::string(), 2);
    if (!b) return std::nullopt;
    old[i] = static_cast<std::uint8_t>(*b);
  }
  r.snapshot.style = {old[0], old[1], {old[2], old[3], old[4]}};
  const auto thickness = ParseByteValue(a[3]), style = ParseByteValue(a[4]);
  if (!thickness || !style) return std::nullopt;
  r.change.thickness = *thickness;
  r.change.style = *style;
  if (a[5] != kNoColour) {
    const auto rgb = ParseHex(a[5], 6);
    if (!rgb) return std::nullopt;
    r.change.colour = RgbBytes{static_cast<std::uint8_t>(*rgb >> 16), static_cast<std::uint8_t>(*rgb >> 8),
                               static_cast<std::uint8_t>(*rgb)};
  }
  r.journal = PathFromUtf8(a[6]);
  r.context = {a[7], a[8]};
  return r;
}

int ElevatedExitCode(RecordWriteStatus status) {
  return status == RecordWriteStatus::Written ? 0 : 1 + static_cast<int>(status);
}

std::optional<RecordWriteStatus> StatusOfElevatedExit(unsigned long exitCode) {
  if (exitCode == 0) return RecordWriteStatus::Written;
  if (exitCode < 2 || exitCode > 1 + static_cast<unsigned long>(kLastStatus)) return std::nullopt;
  return static_cast<RecordWriteStatus>(exitCode - 1);
}

}  // namespace atrybuty
