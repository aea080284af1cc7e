#pragma once
// A package's line styles as a text file that people can read and edit and
// that every later version reads the same:
//
//   Atrybuty: style linii, wersja 1
//   Pakiet<TAB>Polska
//   Warstwa<TAB>Plik danych<TAB>Grubość<TAB>Styl<TAB>Kolor
//   Drogi krajowe<TAB>DROGI.DAT<TAB>3<TAB>2<TAB>#FF8000
//   Ścieżki rowerowe<TAB>ROWERY.DAT<TAB>brak rekordu
//   Gazociągi<TAB>GAZ.DAT<TAB>nieczytelny
//
// UTF-8 (a byte order mark is allowed), lines ending in CR LF or LF, one line
// per layer in the configuration's order. Thickness and style are the bytes
// stored in the data file (0 to 255, 0 included), the colour is #RRGGBB; a
// layer whose data file holds no record says "brak rekordu" instead, one
// whose data file could not be read "nieczytelny" (an import restores
// neither). In a
// name, a tab, a line break and a backslash are written \t, \n, \r and \\,
// and a layer name's leading "#" as \#. Empty lines and lines starting with
// "#" are ignored.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/mapfile/line_style_record.h"

namespace atrybuty {

inline constexpr char kStyleFileHeading[] = "Atrybuty: style linii, wersja 1";
inline constexpr char kStyleFileNoRecord[] = "brak rekordu";
inline constexpr char kStyleFileUnreadable[] = "nieczytelny";

struct StyleRow {
  enum class Kept { Record, NoRecord, Unreadable };
  std::string layer;     // UTF-8
  std::string dataFile;  // UTF-8
  std::optional<LineStyle> style;  // with Kept::Record only
  Kept kept = Kept::Record;
  friend bool operator==(const StyleRow&, const StyleRow&) = default;
};

struct StyleFile {
  std::string package;  // UTF-8
  std::vector<StyleRow> rows;
  friend bool operator==(const StyleFile&, const StyleFile&) = default;
};

std::string FormatStyleFile(const StyleFile& file);

// Why a text is no style file: the 1-based line and what is wrong there (Polish).
struct StyleFileError {
  int line = 0;
  std::string why;
};

std::variant<StyleFile, StyleFileError> ParseStyleFile(std::string_view text);

}  // namespace atrybuty
