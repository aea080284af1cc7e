#include "core/mapfile/style_file.h"

#include <charconv>

#include "core/mapfile/colour.h"
#include "core/text/escapes.h"

namespace atrybuty {
namespace {

constexpr char kPackageKey[] = "Pakiet";
constexpr char kColumns[] = "Warstwa\tPlik danych\tGrubość\tStyl\tKolor";

std::optional<std::uint8_t> StoredByte(std::string_view text) {
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > 255) return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

std::optional<RgbBytes> WebColourBytes(std::string_view text) {
  if (text.size() != 7 || text.front() != '#') return std::nullopt;
  const auto value = ParseColourArgument(text);
  if (!value) return std::nullopt;
  return ColourBytes(*value);
}

}  // namespace

std::string FormatStyleFile(const StyleFile& file) {
  std::string text = std::string(kStyleFileHeading) + "\r\n";
  text += std::string(kPackageKey) + "\t" + EscapeField(file.package) + "\r\n";
  text += std::string(kColumns) + "\r\n";
  for (const StyleRow& row : file.rows) {
    // A line starting with "#" is a comment: a layer name starting with one is written "\#".
    text += (row.layer.starts_with('#') ? "\\" : "") + EscapeField(row.layer) + "\t" + EscapeField(row.dataFile) + "\t";
    if (row.style) {
      text += std::to_string(row.style->thickness) + "\t" + std::to_string(row.style->style) + "\t" +
              WebColour(ColourValue(row.style->colour));
    } else {
      text += row.kept == StyleRow::Kept::Unreadable ? kStyleFileUnreadable : kStyleFileNoRecord;
    }
    text += "\r\n";
  }
  return text;
}

std::variant<StyleFile, StyleFileError> ParseStyleFile(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  StyleFile file;
  int number = 0;
  int seen = 0;  // the heading, the package, the columns
  for (std::string_view line : SplitAt(text, '\n')) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const auto fields = SplitAt(line, '\t');
    auto fail = [&](std::string why) { return StyleFileError{number, std::move(why)}; };
    if (seen == 0) {
      if (line != kStyleFileHeading) return fail("brak nagłówka \"" + std::string(kStyleFileHeading) + "\"");
      ++seen;
    } else if (seen == 1) {
      const auto package = fields.size() == 2 && fields[0] == kPackageKey ? UnescapeField(fields[1]) : std::nullopt;
      if (!package || package->empty()) return fail("brak wiersza \"Pakiet\" z nazwą pakietu");
      file.package = *package;
      ++seen;
    } else if (seen == 2) {
      if (line != kColumns) return fail("brak wiersza z nazwami kolumn");
      ++seen;
    } else {
      const auto layer = UnescapeField(fields[0]);
      const auto dataFile = fields.size() >= 2 ? UnescapeField(fields[1]) : std::nullopt;
      if (!layer || !dataFile) return fail("zła nazwa warstwy albo pliku danych");
      StyleRow row{*layer, *dataFile, std::nullopt, StyleRow::Kept::Record};
      if (fields.size() == 3 && (fields[2] == kStyleFileNoRecord || fields[2] == kStyleFileUnreadable)) {
        row.kept = fields[2] == kStyleFileNoRecord ? StyleRow::Kept::NoRecord : StyleRow::Kept::Unreadable;
        file.rows.push_back(std::move(row));
        continue;
      }
      if (fields.size() != 5) return fail("oczekiwano pięciu kolumn rozdzielonych tabulatorem");
      const auto thickness = StoredByte(fields[2]), style = StoredByte(fields[3]);
      const auto colour = WebColourBytes(fields[4]);
      if (!thickness || !style) return fail("grubość i styl to liczby od 0 do 255");
      if (!colour) return fail("kolor to #RRGGBB");
      row.style = LineStyle{*thickness, *style, *colour};
      file.rows.push_back(std::move(row));
    }
  }
  if (seen < 3) return StyleFileError{number, "plik jest niepełny"};
  return file;
}

}  // namespace atrybuty
