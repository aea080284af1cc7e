#include "core/form1/pictures.h"

#include <iterator>
#include <span>
#include <string_view>

namespace atrybuty {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0xFF0000;

constexpr int kCentre = kPictureHeight / 2;  // the row the line runs along
constexpr int kFirst = 1;                    // the line's first and last columns
constexpr int kLast = kPictureWidth - 2;

// A repeating column pattern, read from the line's first column on: a blank leaves the column alone, any other
// character marks it. The empty pattern marks every column.
bool Marked(std::string_view pattern, int x) {
  return pattern.empty() || pattern[static_cast<std::size_t>(x - kFirst) % pattern.size()] != ' ';
}

// Rows top..bottom, filled with one colour in the columns the pattern marks. A default band draws nothing.
struct Band {
  int top = 0;
  int bottom = -1;
  std::uint32_t colour = kBlack;
  std::string_view pattern;
};

constexpr Band Rows(int top, int bottom, std::uint32_t colour, std::string_view pattern = {}) {
  return {top, bottom, colour, pattern};
}
constexpr Band Line(std::string_view pattern = {}) { return Rows(kCentre, kCentre, kBlack, pattern); }

// A small shape, '#' for its pixels, at most 9 rows of equal length; an odd height keeps it centred on the line.
using Glyph = std::span<const std::string_view>;

constexpr std::string_view kLetterN[] = {"#     #", "##    #", "# #   #", "#  #  #", "#   # #", "#    ##", "#     #"};
constexpr std::string_view kShortTick[] = {"#", "#", "#"};
constexpr std::string_view kCrossTick[] = {"#", "#", "#", "#", "#"};
constexpr std::string_view kTallTick[] = {"#", "#", "#", "#", "#", "#", "#"};
constexpr std::string_view kDoubleTick[] = {"# #", "# #", "# #", "# #", "# #"};
constexpr std::string_view kDoubleTallTick[] = {"# #", "# #", "# #", "# #", "# #", "# #", "# #"};
// Shapes above the line; flipped vertically they hang below it.
constexpr std::string_view kTickAbove[] = {"#", "#", "#", "#", " ", " ", " "};
constexpr std::string_view kBracket[] = {"#####", "#   #", "#   #", "#   #", "     ", "     ", "     "};
constexpr std::string_view kLShape[] = {"#   ", "#   ", "#   ", "####", "    ", "    ", "    "};
constexpr std::string_view kIBeam[] = {"###", " # ", " # ", " # ", " # ", " # ", "###"};
constexpr std::string_view kSmallCross[] = {"#   #", " # # ", "  #  ", " # # ", "#   #"};
constexpr std::string_view kSquare[] = {"###", "###", "###"};
constexpr std::string_view kBigSquare[] = {"#####", "#####", "#####", "#####", "#####"};
// Shapes pointing right; flipped horizontally they point left.
constexpr std::string_view kChevron[] = {"#   ", " #  ", "  # ", "   #", "  # ", " #  ", "#   "};
constexpr std::string_view kArrowHead[] = {"#      ", "###    ", "#####  ", "#######", "#####  ", "###    ", "#      "};

enum class Place { Repeat, Start, End, Centre };
enum class Flip { None, Horizontal, Vertical };

// A glyph drawn at the columns a repeating pattern marks (its left column there, and only where it fits whole
// within the line's columns), or once at the line's start, end or the picture's centre.
struct Mark {
  Glyph glyph;
  Place place = Place::Repeat;
  std::string_view at;
  Flip flip = Flip::None;
};

constexpr Mark Every(Glyph glyph, std::string_view at, Flip flip = Flip::None) {
  return {glyph, Place::Repeat, at, flip};
}
constexpr Mark Once(Glyph glyph, Place place, Flip flip = Flip::None) { return {glyph, place, {}, flip}; }

// Bands are drawn in order, later ones over earlier ones; marks are drawn last, in black.
struct Style {
  Band bands[4] = {};
  Mark marks[2] = {};
};

// Style k is kStyles[k - 1].
constexpr Style kStyles[] = {
    // 1: no line.
    {{}, {Once(kLetterN, Place::Centre)}},
    // 2: solid.
    {{Line()}},
    // 3-25: dots, dashes and dash-dots; each pattern repeats over a longer span than the one before it.
    {{Line("= ")}},
    {{Line("=  ")}},
    {{Line("==  ")}},
    {{Line("===  ")}},
    {{Line("====  ")}},
    {{Line("=====  ")}},
    {{Line("=====   ")}},
    {{Line("====  =  ")}},
    {{Line("=======   ")}},
    {{Line("======  =  ")}},
    {{Line("====  =  =  ")}},
    {{Line("==========   ")}},
    {{Line("=======   =   ")}},
    {{Line("=======  =  =  ")}},
    {{Line("========   ==   ")}},
    {{Line("==============   ")}},
    {{Line("===========   =   ")}},
    {{Line("=========   =  =   ")}},
    {{Line("==========   ====   ")}},
    {{Line("==================    ")}},
    {{Line("============   =   =   ")}},
    {{Line("============   =====    ")}},
    {{Line("============   ===   ===   ")}},
    // 26-40: ticks across, ticks alternating above and below, brackets, I-beams and small crosses.
    {{Line()}, {Every(kCrossTick, "   =    ")}},
    {{Line()}, {Every(kCrossTick, "  =  ")}},
    {{Line()}, {Every(kCrossTick, "      =       ")}},
    {{Line()}, {Every(kDoubleTick, "    =     ")}},
    {{Line()}, {Every(kDoubleTick, "       =        ")}},
    {{Line("=======   ")}, {Every(kCrossTick, "   =      ")}},
    {{Line("=========   ")}, {Every(kDoubleTick, "   =        ")}},
    {{Line()}, {Every(kTickAbove, "   =        "), Every(kTickAbove, "         =  ", Flip::Vertical)}},
    {{Line("=========   ")},
     {Every(kTickAbove, "    =                   "), Every(kTickAbove, "                =       ", Flip::Vertical)}},
    {{Line()}, {Every(kBracket, "   =      ")}},
    {{Line()}, {Every(kBracket, "   =              "), Every(kBracket, "            =     ", Flip::Vertical)}},
    {{Line()}, {Every(kIBeam, "    =     ")}},
    {{Line("=========   ")}, {Every(kIBeam, "   =        ")}},
    {{Line()}, {Every(kSmallCross, "  =       ")}},
    {{Line("=====       ")}, {Every(kSmallCross, "      =     ")}},
    // 41-45: dashes and squares; a solid line with squares.
    {{Line("========     ")}, {Every(kSquare, "         =   ")}},
    {{Line("============       ")}, {Every(kSquare, "              =    ")}},
    {{Line("======            ")}, {Every(kSquare, "        =    =    ")}},
    {{Line("==========         ")}, {Every(kBigSquare, "            =      ")}},
    {{Line()}, {Every(kSquare, "   =    ")}},
    // 46-53: combs: ticks alone, L shapes, solid lines with ticks above or below, dashes with paired ticks.
    {{}, {Every(kShortTick, "=  ")}},
    {{}, {Every(kCrossTick, "  =   ")}},
    {{}, {Every(kLShape, "=      ")}},
    {{}, {Every(kLShape, "=      ", Flip::Vertical)}},
    {{Line()}, {Every(kTickAbove, "  =   ")}},
    {{Line()}, {Every(kTickAbove, "  =   ", Flip::Vertical)}},
    {{Line("=========    ")}, {Every(kTickAbove, "=       =    ")}},
    {{Line("=========    ")}, {Every(kTickAbove, "=       =    ", Flip::Vertical)}},
    // 54-58: chevrons pointing right, left, in pairs both ways, and without a line.
    {{Line()}, {Every(kChevron, "  =     ")}},
    {{Line()}, {Every(kChevron, "  =     ", Flip::Horizontal)}},
    {{Line()}, {Every(kChevron, "  =  =       ")}},
    {{Line()}, {Every(kChevron, "  =  =       ", Flip::Horizontal)}},
    {{}, {Every(kChevron, "=     ")}},
    // 59-61: arrows with the head at the end, at the start, at both.
    {{Line()}, {Once(kArrowHead, Place::End)}},
    {{Line()}, {Once(kArrowHead, Place::Start, Flip::Horizontal)}},
    {{Line()}, {Once(kArrowHead, Place::End), Once(kArrowHead, Place::Start, Flip::Horizontal)}},
    // 62: a solid line starting at a square.
    {{Line()}, {Once(kBigSquare, Place::Start)}},
    // 63-64: red double lines about a black line.
    {{Rows(2, 2, kRed), Rows(6, 6, kRed), Line()}},
    {{Rows(2, 2, kRed, "======  "), Rows(6, 6, kRed, "======  "), Line()}},
    // 65-67: red lines cased in black.
    {{Rows(2, 6, kBlack), Rows(3, 5, kRed)}},
    {{Rows(3, 5, kBlack), Rows(4, 4, kRed)}},
    {{Rows(2, 2, kBlack), Rows(6, 6, kBlack), Rows(3, 5, kRed, "======   ")}},
    // 68-69: red double lines with black ticks across.
    {{Rows(2, 2, kRed), Rows(6, 6, kRed)}, {Every(kTallTick, "   =    ")}},
    {{Rows(2, 2, kRed), Rows(6, 6, kRed)}, {Every(kDoubleTallTick, "    =       ")}},
    // 70-71: black lines with red segments.
    {{Line(), Rows(4, 4, kRed, "        ====")}},
    {{Rows(3, 5, kBlack), Rows(3, 5, kRed, "         =====")}},
    // 72-73: red and black dashes in turn.
    {{Rows(4, 4, kRed, "=====         "), Rows(4, 4, kBlack, "       =====  ")}},
    {{Rows(3, 5, kRed, "======      "), Rows(3, 5, kBlack, "      ======")}},
    // 74-77: thick lines with red or white inner segments.
    {{Rows(2, 6, kBlack), Rows(3, 5, kRed, "  ======  ")}},
    {{Rows(2, 6, kBlack), Rows(4, 4, kRed, " ====  ")}},
    {{Rows(2, 6, kBlack), Rows(3, 5, kRed, "  =====     "), Rows(3, 5, kWhite, "        ====")}},
    {{Rows(1, 7, kBlack), Rows(2, 6, kRed), Rows(3, 5, kWhite, "  ======    ")}},
};
static_assert(std::size(kStyles) == kStylePictureCount);

class Canvas {
 public:
  Canvas() { picture_.pixels.fill(kWhite); }

  void Fill(const Band& band) {
    for (int x = kFirst; x <= kLast; ++x) {
      if (!Marked(band.pattern, x)) continue;
      for (int y = band.top; y <= band.bottom; ++y) Set(x, y, band.colour);
    }
  }

  void Draw(const Mark& mark) {
    if (mark.glyph.empty()) return;
    const int width = static_cast<int>(mark.glyph.front().size());
    switch (mark.place) {
      case Place::Start:
        return DrawAt(mark, kFirst);
      case Place::End:
        return DrawAt(mark, kLast - width + 1);
      case Place::Centre:
        return DrawAt(mark, (kPictureWidth - width) / 2);
      case Place::Repeat:
        for (int x = kFirst; x + width - 1 <= kLast; ++x) {
          if (Marked(mark.at, x)) DrawAt(mark, x);
        }
        return;
    }
  }

  Picture Take() const { return picture_; }

 private:
  void Set(int x, int y, std::uint32_t colour) { picture_.pixels[y * kPictureWidth + x] = colour; }

  void DrawAt(const Mark& mark, int left) {
    const int height = static_cast<int>(mark.glyph.size());
    const int width = static_cast<int>(mark.glyph.front().size());
    const int top = kCentre - height / 2;
    for (int row = 0; row < height; ++row) {
      for (int col = 0; col < width; ++col) {
        const int from = mark.flip == Flip::Horizontal ? width - 1 - col : col;
        const int fromRow = mark.flip == Flip::Vertical ? height - 1 - row : row;
        if (mark.glyph[fromRow][from] == '#') Set(left + col, top + row, kBlack);
      }
    }
  }

  Picture picture_;
};

}  // namespace

std::uint32_t Picture::At(int x, int y) const { return pixels[y * kPictureWidth + x]; }

Picture ThicknessPicture(int k) {
  Canvas canvas;
  if (k >= 1 && k <= kThicknessPictureCount) {
    const int height = k < kThicknessPictureCount ? k : 8;
    // An even height cannot sit exactly on the centre row: the extra row goes above it.
    const int top = kCentre - height / 2;
    canvas.Fill(Rows(top, top + height - 1, kBlack));
  }
  return canvas.Take();
}

Picture StylePicture(int k) {
  Canvas canvas;
  if (k >= 1 && k <= kStylePictureCount) {
    const Style& style = kStyles[k - 1];
    for (const Band& band : style.bands) canvas.Fill(band);
    for (const Mark& mark : style.marks) canvas.Draw(mark);
  }
  return canvas.Take();
}

std::vector<std::uint8_t> ToDib24(const Picture& p, int width, int height) {
  if (width < 1 || height < 1) return {};
  const int stride = (width * 3 + 3) / 4 * 4;
  std::vector<std::uint8_t> bits(static_cast<std::size_t>(stride) * height, 0);
  for (int y = 0; y < height; ++y) {
    const int fromY = (2 * y + 1) * kPictureHeight / (2 * height);
    std::uint8_t* row = bits.data() + static_cast<std::size_t>(height - 1 - y) * stride;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t colour = p.At((2 * x + 1) * kPictureWidth / (2 * width), fromY);
      row[3 * x] = static_cast<std::uint8_t>(colour & 0xFF);
      row[3 * x + 1] = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
    }
  }
  return bits;
}

}  // namespace atrybuty
