#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/mapfile/data_file_path.h"
#include "core/mapfile/line_style_record.h"
#include "core/mapfile/position_text.h"
#include "samples/sample_package.h"
#include "support/scratch_dir.h"

namespace atrybuty {
namespace {

using testing::ReadAll;
using testing::ScratchDir;
using testing::WriteAll;

struct BaseCase {
  std::uint8_t pl, ph;
  std::uint32_t base;
  std::uint32_t thicknessOffset;
  const char* thicknessText;
};

class RecordBaseCases : public ::testing::TestWithParam<BaseCase> {};

TEST_P(RecordBaseCases, PointerBytesGiveBaseAndPositions) {
  const BaseCase& c = GetParam();
  EXPECT_EQ(RecordBase(c.pl, c.ph), c.base);
  EXPECT_EQ(OffsetsOf(c.base).thickness, c.thicknessOffset);
  EXPECT_EQ(PositionText(OffsetsOf(c.base).thickness), c.thicknessText);
  EXPECT_EQ(OffsetOfPosition(c.thicknessText), c.thicknessOffset);
}

INSTANTIATE_TEST_SUITE_P(Table, RecordBaseCases,
                         ::testing::Values(BaseCase{0x05, 0x00, 0x500, 0x50D, "50E"},
                                           BaseCase{0x80, 0x00, 0x8000, 0x800D, "800E"},
                                           BaseCase{0x34, 0x0A, 0xA3400, 0xA340D, "A340E"},
                                           BaseCase{0x00, 0x01, 0x10000, 0x1000D, "1000E"},
                                           BaseCase{0xFF, 0xFF, 0xFFFF00, 0xFFFF0D, "FFFF0E"}));

TEST(PositionText, AllFivePositionsOfBase500) {
  const RecordOffsets at = OffsetsOf(0x500);
  std::vector<std::string> texts;
  for (auto o : at.All()) texts.push_back(PositionText(o));
  EXPECT_EQ(texts, (std::vector<std::string>{"50E", "50F", "511", "512", "513"}));
}

TEST(PositionText, ReadBackUnsignedAndRejectsNonsense) {
  EXPECT_EQ(OffsetOfPosition("800E"), 0x800Du) << "four digits from 8000 up are not negative";
  EXPECT_EQ(OffsetOfPosition("FFFF"), 0xFFFEu);
  EXPECT_EQ(OffsetOfPosition("1"), 0u);
  EXPECT_FALSE(OffsetOfPosition(""));
  EXPECT_FALSE(OffsetOfPosition("0"));
  EXPECT_FALSE(OffsetOfPosition("-5"));
  EXPECT_FALSE(OffsetOfPosition("G1"));
  EXPECT_FALSE(OffsetOfPosition("123456789"));
}

TEST(DataFilePath, AppendsOneSeparatorOnlyWhenMissing) {
  EXPECT_EQ(DataFilePath("C:\\Program Files", "A.DAT"),
            "C:\\Program Files\\Common Files\\Microsoft Shared\\Datamap\\Data\\A.DAT");
  EXPECT_EQ(DataFilePath("C:\\Program Files\\", "A.DAT"),
            "C:\\Program Files\\Common Files\\Microsoft Shared\\Datamap\\Data\\A.DAT");
  EXPECT_EQ(DataFilePath("/pf/", " a b "), "/pf/Common Files\\Microsoft Shared\\Datamap\\Data\\ a b ");
  EXPECT_EQ(WithTrailingSeparator(""), "");
}

samples::SampleLayer Layer(std::uint32_t base, std::uint64_t size = 0, LineStyle style = {3, 2, {0xFF, 0x80, 0}}) {
  return {"L", "L.DAT", base, size, style};
}

TEST(ReadLineStyleRecord, ReadsTheFiveBytes) {
  ScratchDir dir;
  for (std::uint32_t base : {0x500u, 0x8000u, 0x10000u, 0xA3400u}) {
    WriteAll(dir.File("a.dat"), samples::DataFileBytes(Layer(base)));
    const RecordRead r = ReadLineStyleRecord(dir.File("a.dat"));
    ASSERT_EQ(r.status, RecordStatus::Ok) << std::hex << base;
    EXPECT_EQ(r.base, base);
    EXPECT_EQ(r.style, (LineStyle{3, 2, {0xFF, 0x80, 0x00}}));
    EXPECT_EQ(ColourValue(r.style.colour), 33023u);
  }
}

TEST(ReadLineStyleRecord, ReportsEveryFileProblem) {
  ScratchDir dir;
  WriteAll(dir.File("norecord.dat"), samples::DataFileBytes(Layer(0, 0x400)));
  WriteAll(dir.File("empty.dat"), {});
  WriteAll(dir.File("pointer-cut.dat"), std::vector<std::uint8_t>(0x13A, 1));
  auto crossing = samples::DataFileBytes(Layer(0x500));
  crossing.resize(0x512);  // the blue byte at 0x512 is missing
  WriteAll(dir.File("crossing.dat"), crossing);
  WriteAll(dir.File("beyond.dat"), samples::DataFileBytes(Layer(0x2000, 0x1000)));

  EXPECT_EQ(ReadLineStyleRecord(dir.File("norecord.dat")).status, RecordStatus::NoRecord);
  EXPECT_EQ(ReadLineStyleRecord(dir.File("missing.dat")).status, RecordStatus::CannotOpen);
  EXPECT_EQ(ReadLineStyleRecord(dir.File("empty.dat")).status, RecordStatus::TooShortForPointer);
  EXPECT_EQ(ReadLineStyleRecord(dir.File("pointer-cut.dat")).status, RecordStatus::TooShortForPointer);
  EXPECT_EQ(ReadLineStyleRecord(dir.File("crossing.dat")).status, RecordStatus::TooShortForRecord);
  EXPECT_EQ(ReadLineStyleRecord(dir.File("beyond.dat")).status, RecordStatus::TooShortForRecord);
  EXPECT_NE(ReadLineStyleRecord(dir.Prefix()).status, RecordStatus::Ok) << "a directory is no data file";
}

TEST(PatchBytes, ChangesOnlyTheNamedBytes) {
  ScratchDir dir;
  const auto before = samples::DataFileBytes(Layer(0x10000));
  WriteAll(dir.File("a.dat"), before);
  const RecordOffsets at = OffsetsOf(0x10000);
  const BytePatch patches[] = {{at.red, 0x12}, {at.green, 0x34}, {at.blue, 0x56}, {at.thickness, 4}, {at.style, 77}};

  const WriteResult w = PatchBytes(dir.File("a.dat"), patches);
  ASSERT_EQ(w.status, WriteStatus::Ok);
  EXPECT_EQ(w.oldBytes, (std::vector<std::uint8_t>{0xFF, 0x80, 0x00, 3, 2}));

  auto expected = before;
  for (const auto& p : patches) expected[p.offset] = p.value;
  EXPECT_EQ(ReadAll(dir.File("a.dat")), expected);
}

TEST(PatchBytes, WritesNothingWhenAnyByteLiesOutside) {
  ScratchDir dir;
  const auto before = samples::DataFileBytes(Layer(0x500));
  WriteAll(dir.File("a.dat"), before);
  const BytePatch patches[] = {{0x50D, 9}, {static_cast<std::uint32_t>(before.size()), 9}};
  EXPECT_EQ(PatchBytes(dir.File("a.dat"), patches).status, WriteStatus::BeyondEnd);
  EXPECT_EQ(ReadAll(dir.File("a.dat")), before) << "no byte changed and the file did not grow";
}

TEST(PatchBytes, DryRunReadsOldBytesOnly) {
  ScratchDir dir;
  const auto before = samples::DataFileBytes(Layer(0x500));
  WriteAll(dir.File("a.dat"), before);
  const BytePatch patches[] = {{0x50D, 7}};
  const WriteResult w = PatchBytes(dir.File("a.dat"), patches, /*dryRun=*/true);
  EXPECT_EQ(w.status, WriteStatus::Ok);
  EXPECT_EQ(w.oldBytes, std::vector<std::uint8_t>{3});
  EXPECT_EQ(ReadAll(dir.File("a.dat")), before);
}

TEST(PatchBytes, MissingFileIsNotCreated) {
  ScratchDir dir;
  const BytePatch patches[] = {{0, 1}};
  EXPECT_EQ(PatchBytes(dir.File("missing.dat"), patches).status, WriteStatus::CannotOpen);
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing.dat")));
}

}  // namespace
}  // namespace atrybuty
