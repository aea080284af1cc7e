#include <gtest/gtest.h>

#include "core/mapfile/colour.h"
#include "core/text/cp1250.h"

namespace atrybuty {
namespace {

struct ColourCase {
  RgbBytes bytes;
  std::uint32_t value;
  const char* decimal;
  const char* kolorHex;
  const char* web;
};

class ColourForms : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ColourForms, AgreeWithEachOther) {
  const ColourCase& c = GetParam();
  EXPECT_EQ(ColourValue(c.bytes), c.value);
  EXPECT_EQ(ColourBytes(c.value), c.bytes);
  EXPECT_EQ(ColourDecimal(c.value), c.decimal);
  EXPECT_EQ(KolorHex(c.value), c.kolorHex);
  EXPECT_EQ(BytesOfKolorHex(c.kolorHex), c.bytes);
  EXPECT_EQ(WebColour(c.value), c.web);
  EXPECT_EQ(ParseColourArgument(c.web), c.value);
  EXPECT_EQ(ParseColourArgument(c.decimal), c.value);
}

INSTANTIATE_TEST_SUITE_P(Table, ColourForms,
                         ::testing::Values(ColourCase{{0xFF, 0, 0}, 255, "255", "0000FF", "#FF0000"},
                                           ColourCase{{0, 0, 0xFF}, 0xFF0000, "16711680", "FF0000", "#0000FF"},
                                           ColourCase{{0, 0, 0}, 0, "0", "000000", "#000000"},
                                           ColourCase{{0x12, 0x34, 0x56}, 0x563412, "5649426", "563412", "#123456"},
                                           ColourCase{{0xFF, 0x80, 0}, 33023, "33023", "0080FF", "#FF8000"}));

TEST(KolorHex, LongerValuesStayUnpadded) { EXPECT_EQ(KolorHex(0x1000000), "1000000"); }

TEST(ColourArguments, RejectsWhatIsNoColour) {
  for (const char* bad : {"", "#", "#12345", "#1234567", "#GG0000", "16777216", "-1", "12a", "red"}) {
    EXPECT_FALSE(ParseColourArgument(bad)) << bad;
  }
  EXPECT_FALSE(BytesOfKolorHex("12345"));
  EXPECT_FALSE(BytesOfKolorHex("1234567"));
}

TEST(Cp1250, PolishLettersBecomeUtf8AndBack) {
  const std::string ansi = "\xA5\xB9\xC6\xE6\xCA\xEA\xA3\xB3\xD1\xF1\xD3\xF3\x8C\x9C\x8F\x9F\xAF\xBF";
  const std::string utf8 = "ĄąĆćĘęŁłŃńÓóŚśŹźŻż";
  EXPECT_EQ(Cp1250ToUtf8(ansi), utf8);
  EXPECT_EQ(Utf8ToCp1250(utf8), ansi);
  EXPECT_EQ(Utf8ToCp1250("€ ☃"), "\x80 ?");
}

}  // namespace
}  // namespace atrybuty
