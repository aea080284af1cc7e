#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

#include "core/form1/app_icon.h"
#include "core/form1/pictures.h"

namespace atrybuty {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr int kCentreRow = 4;
constexpr int kLineFirst = 1;
constexpr int kLineLast = 63;

int Count(const Picture& p, std::uint32_t colour) {
  return static_cast<int>(std::count(p.pixels.begin(), p.pixels.end(), colour));
}

int BlackInColumn(const Picture& p, int x) {
  int n = 0;
  for (int y = 0; y < kPictureHeight; ++y) n += p.At(x, y) == kBlack;
  return n;
}

Picture Mirrored(const Picture& p) {
  Picture m;
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) m.pixels[y * kPictureWidth + x] = p.At(kPictureWidth - 1 - x, y);
  }
  return m;
}

// The shortest shift that maps the centre row over the line's columns onto itself.
int CentreRowPeriod(const Picture& p) {
  for (int shift = 1;; ++shift) {
    bool same = true;
    for (int x = kLineFirst; x + shift <= kLineLast && same; ++x) {
      same = p.At(x, kCentreRow) == p.At(x + shift, kCentreRow);
    }
    if (same) return shift;
  }
}

// Runs of neighbouring columns with a black pixel above or below the centre row.
int OffLineMarks(const Picture& p) {
  int marks = 0;
  bool inMark = false;
  for (int x = 0; x < kPictureWidth; ++x) {
    bool off = false;
    for (int y = 0; y < kPictureHeight; ++y) off = off || (y != kCentreRow && p.At(x, y) == kBlack);
    marks += off && !inMark;
    inMark = off;
  }
  return marks;
}

TEST(ThicknessPictures, AreCentredBarsAcrossTheLineOfTheirHeights) {
  const int heights[kThicknessPictureCount] = {1, 2, 3, 4, 5, 6, 8};
  for (int k = 1; k <= kThicknessPictureCount; ++k) {
    SCOPED_TRACE(k);
    const Picture p = ThicknessPicture(k);
    std::vector<int> barRows;
    for (int y = 0; y < kPictureHeight; ++y) {
      const bool bar = p.At(kLineFirst, y) == kBlack;
      for (int x = 0; x < kPictureWidth; ++x) {
        const bool inBar = bar && x >= kLineFirst && x <= kLineLast;
        ASSERT_EQ(p.At(x, y), inBar ? kBlack : kWhite) << x << "," << y;
      }
      if (bar) barRows.push_back(y);
    }
    ASSERT_EQ(static_cast<int>(barRows.size()), heights[k - 1]);
    EXPECT_EQ(barRows.back() - barRows.front() + 1, heights[k - 1]) << "rows not contiguous";
    EXPECT_LE(std::abs(barRows.front() + barRows.back() - 2 * kCentreRow), 1) << "not centred";
  }
}

TEST(Pictures, OutOfRangeValuesAreBlank) {
  Picture white;
  white.pixels.fill(kWhite);
  for (int k : {-1, 0, kThicknessPictureCount + 1}) EXPECT_EQ(ThicknessPicture(k), white) << k;
  for (int k : {-1, 0, kStylePictureCount + 1}) EXPECT_EQ(StylePicture(k), white) << k;
}

class StylePictures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    styles_.clear();
    for (int k = 1; k <= kStylePictureCount; ++k) styles_.push_back(StylePicture(k));
  }
  static const Picture& Style(int k) { return styles_[k - 1]; }
  static inline std::vector<Picture> styles_;
};

TEST_F(StylePictures, AreDistinctAndNoneIsBlank) {
  for (int a = 1; a <= kStylePictureCount; ++a) {
    EXPECT_LT(Count(Style(a), kWhite), kPictureWidth * kPictureHeight) << a;
    for (int b = a + 1; b <= kStylePictureCount; ++b) EXPECT_NE(Style(a), Style(b)) << a << " and " << b;
  }
}

TEST_F(StylePictures, UseBlackRedAndWhiteOnlyAndKeepTheSideColumnsWhite) {
  for (int k = 1; k <= kStylePictureCount; ++k) {
    const Picture& p = Style(k);
    EXPECT_EQ(Count(p, kWhite) + Count(p, kBlack) + Count(p, kRed), kPictureWidth * kPictureHeight) << k;
    for (int y = 0; y < kPictureHeight; ++y) {
      EXPECT_EQ(p.At(0, y), kWhite) << k;
      EXPECT_EQ(p.At(kPictureWidth - 1, y), kWhite) << k;
    }
  }
}

TEST_F(StylePictures, OnlyTheLastFifteenAreRedAndBlack) {
  for (int k = 1; k <= kStylePictureCount; ++k) {
    const bool twoColour = k >= 63;
    EXPECT_EQ(Count(Style(k), kRed) > 0, twoColour) << k;
    if (twoColour) {
      EXPECT_GT(Count(Style(k), kBlack), 0) << k;
    }
  }
}

TEST_F(StylePictures, FirstIsACentredLetterN) {
  const Picture& n = Style(1);
  int left = kPictureWidth, right = -1, top = kPictureHeight, bottom = -1;
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      if (n.At(x, y) != kBlack) continue;
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  ASSERT_GE(bottom - top, 4) << "too small for a letter";
  ASSERT_GE(right - left, 3);
  EXPECT_LE(std::abs(left + right - (kPictureWidth - 1)), 1) << "not centred across";
  EXPECT_LE(std::abs(top + bottom - (kPictureHeight - 1)), 1) << "not centred down";
  // Two full vertical strokes, and between them one pixel a row moving right on the way down.
  for (int y = top; y <= bottom; ++y) {
    EXPECT_EQ(n.At(left, y), kBlack) << y;
    EXPECT_EQ(n.At(right, y), kBlack) << y;
  }
  int previous = left;
  for (int y = top + 1; y < bottom; ++y) {
    std::vector<int> inner;
    for (int x = left + 1; x < right; ++x) {
      if (n.At(x, y) == kBlack) inner.push_back(x);
    }
    ASSERT_EQ(inner.size(), 1u) << y;
    EXPECT_GT(inner[0], previous) << y;
    previous = inner[0];
  }
  int centreRow = 0;
  for (int x = 0; x < kPictureWidth; ++x) centreRow += n.At(x, kCentreRow) == kBlack;
  EXPECT_LE(centreRow, 3) << "a line runs through the letter";
}

TEST_F(StylePictures, SecondIsOneSolidRowAcrossTheLine) {
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      const bool line = y == kCentreRow && x >= kLineFirst && x <= kLineLast;
      ASSERT_EQ(Style(2).At(x, y), line ? kBlack : kWhite) << x << "," << y;
    }
  }
}

TEST_F(StylePictures, DashPatternsAreBrokenCentreLinesRepeatingOverGrowingSpans) {
  int previousPeriod = 1;  // the solid line repeats every column
  for (int k = 3; k <= 25; ++k) {
    SCOPED_TRACE(k);
    const Picture& p = Style(k);
    int onLine = 0;
    for (int x = kLineFirst; x <= kLineLast; ++x) onLine += p.At(x, kCentreRow) == kBlack;
    EXPECT_EQ(Count(p, kBlack), onLine) << "marks off the centre row";
    EXPECT_GT(onLine, 0);
    EXPECT_LT(onLine, kLineLast - kLineFirst + 1) << "no gaps";
    EXPECT_EQ(p.At(kLineFirst, kCentreRow), kBlack) << "the pattern starts with a gap";
    const int period = CentreRowPeriod(p);
    EXPECT_GT(period, previousPeriod);
    EXPECT_LE(period, (kLineLast - kLineFirst + 1) / 2) << "fewer than two repeats show";
    previousPeriod = period;
  }
}

TEST_F(StylePictures, MarkedLinesCarryRepeatedMarksAlongALine) {
  for (int k = 26; k <= 58; ++k) {
    if (k == 46 || k == 47 || k == 58) continue;  // ticks and chevrons with no line under them
    SCOPED_TRACE(k);
    int onLine = 0;
    for (int x = kLineFirst; x <= kLineLast; ++x) onLine += Style(k).At(x, kCentreRow) == kBlack;
    EXPECT_GE(onLine, (kLineLast - kLineFirst + 1) / 3);
    EXPECT_GE(OffLineMarks(Style(k)), 3);
  }
  for (int k : {46, 47}) {
    for (int x = kLineFirst; x + 1 <= kLineLast; ++x) {
      EXPECT_FALSE(Style(k).At(x, kCentreRow) == kBlack && Style(k).At(x + 1, kCentreRow) == kBlack)
          << k << ": comb ticks run together at " << x;
    }
  }
}

TEST_F(StylePictures, SquarePicturesHoldSeveralFilledSquaresOnTheLine) {
  for (int k = 41; k <= 45; ++k) {
    // Runs of at least three columns black over the three middle rows.
    int squares = 0, run = 0;
    for (int x = 0; x < kPictureWidth; ++x) {
      bool solid = true;
      for (int y = kCentreRow - 1; y <= kCentreRow + 1; ++y) solid = solid && Style(k).At(x, y) == kBlack;
      run = solid ? run + 1 : 0;
      squares += run == 3;
    }
    EXPECT_GE(squares, 2) << k;
  }
}

TEST_F(StylePictures, ArrowHeadsSitAtTheRightEndTheLeftEndAndBoth) {
  const Picture& right = Style(59);
  const Picture& left = Style(60);
  const Picture& both = Style(61);
  EXPECT_EQ(Mirrored(right), left);
  EXPECT_EQ(Mirrored(both), both);
  for (std::size_t i = 0; i < both.pixels.size(); ++i) {
    const bool black = right.pixels[i] == kBlack || left.pixels[i] == kBlack;
    ASSERT_EQ(both.pixels[i], black ? kBlack : kWhite) << i;
  }
  int headColumns = 0;
  for (int x = kLineFirst; x <= kLineLast; ++x) {
    if (BlackInColumn(right, x) > 1) {
      EXPECT_GT(x, kLineLast - 10) << "a head away from the right end";
      ++headColumns;
    }
  }
  EXPECT_GE(headColumns, 3);
}

TEST_F(StylePictures, SixtySecondIsALineStartingAtASquare) {
  const Picture& p = Style(62);
  const int side = BlackInColumn(p, kLineFirst);
  ASSERT_GE(side, 3);
  for (int x = kLineFirst; x <= kLineLast; ++x) {
    EXPECT_EQ(BlackInColumn(p, x), x < kLineFirst + side ? side : 1) << x;
    EXPECT_EQ(p.At(x, kCentreRow), kBlack) << x;
  }
}

TEST(PictureDib, IsBottomUpBgrWithRowsPaddedToFourBytes) {
  Picture p;
  p.pixels.fill(kWhite);
  p.pixels[0] = 0x123456;                                                         // top left
  p.pixels[(kPictureHeight - 1) * kPictureWidth + kPictureWidth - 1] = 0xABCDEF;  // bottom right
  const std::vector<std::uint8_t> dib = ToDib24(p);
  constexpr std::size_t kStride = 196;
  ASSERT_EQ(dib.size(), kStride * kPictureHeight);
  const std::size_t topLeft = (kPictureHeight - 1) * kStride;
  EXPECT_EQ(dib[topLeft], 0x56);
  EXPECT_EQ(dib[topLeft + 1], 0x34);
  EXPECT_EQ(dib[topLeft + 2], 0x12);
  const std::size_t bottomRight = 3 * (kPictureWidth - 1);
  EXPECT_EQ(dib[bottomRight], 0xEF);
  EXPECT_EQ(dib[bottomRight + 1], 0xCD);
  EXPECT_EQ(dib[bottomRight + 2], 0xAB);
  EXPECT_EQ(dib[3], 0xFF);  // the white pixel after the bottom row's first
  for (std::size_t row = 0; row < kPictureHeight; ++row) EXPECT_EQ(dib[row * kStride + kStride - 1], 0) << row;
}

// At twice the size (192 DPI) each pixel of the picture becomes two by two.
TEST(PictureDib, ScaledTakesThePixelNearestEachCentre) {
  const Picture p = StylePicture(5);
  const int width = 2 * kPictureWidth, height = 2 * kPictureHeight;
  const std::vector<std::uint8_t> dib = ToDib24(p, width, height);
  const std::size_t stride = (width * 3 + 3) / 4 * 4;
  ASSERT_EQ(dib.size(), stride * height);
  int differences = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* bgr = &dib[(height - 1 - y) * stride + 3 * x];
      if ((bgr[2] << 16 | bgr[1] << 8 | bgr[0]) != static_cast<int>(p.At(x / 2, y / 2))) ++differences;
    }
  }
  EXPECT_EQ(differences, 0);
}

TEST(AppIcon, UsesTheVgaColoursWithTransparentCornersAndAnOpaqueSheet) {
  const std::set<std::uint32_t> vga = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                       0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  const AppIcon icon = MakeAppIcon();
  std::set<std::uint32_t> opaqueColours;
  for (std::size_t i = 0; i < icon.pixels.size(); ++i) {
    EXPECT_TRUE(vga.contains(icon.pixels[i])) << i << ": " << std::hex << icon.pixels[i];
    if (icon.transparent[i]) {
      EXPECT_EQ(icon.pixels[i], kBlack) << i << ": colour under the mask";
    } else {
      opaqueColours.insert(icon.pixels[i]);
    }
  }
  for (int i : {0, kIconSize - 1, kIconSize * (kIconSize - 1), kIconSize * kIconSize - 1}) {
    EXPECT_TRUE(icon.transparent[i]) << "corner " << i;
  }
  EXPECT_TRUE(!icon.transparent[(kIconSize / 2) * kIconSize + kIconSize / 2]) << "centre";
  EXPECT_GE(opaqueColours.size(), 4u) << "lines of several colours";
}

#ifdef ATRYBUTY_SOURCE_DIR
// The programs' icon resource is built from a file kept in the sources (a
// cross build cannot run the drawing); it must be the drawing. On a
// difference the file as drawn is written beside the test to replace it.
TEST(AppIcon, TheProgramsIconFileIsTheDrawnIcon) {
  const std::vector<std::uint8_t> drawn = IconFile(MakeAppIcon());
  std::ifstream kept(ATRYBUTY_SOURCE_DIR "/win32/resources/atrybuty.ico", std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(kept), {}};
  if (file != drawn) {
    std::ofstream("atrybuty.ico", std::ios::binary)
        .write(reinterpret_cast<const char*>(drawn.data()), static_cast<std::streamsize>(drawn.size()));
    ADD_FAILURE() << "win32/resources/atrybuty.ico is not the drawn icon: copy atrybuty.ico from "
                  << std::filesystem::current_path() << " over it";
  }
  ASSERT_EQ(drawn.size(), 6u + 16 + 40 + 32 * 32 * 4 + 32 * 4);
  // The bottom-left pixel (first in the file) is transparent; the centre is opaque.
  EXPECT_EQ(drawn[62 + 3], 0);
  EXPECT_EQ(drawn[62 + (16 * 32 + 16) * 4 + 3], 0xFF);
}
#endif

}  // namespace
}  // namespace atrybuty
