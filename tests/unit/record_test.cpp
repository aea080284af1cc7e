#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/mapfile/data_file_path.h"
#include "core/mapfile/elevated_write.h"
#include "core/mapfile/line_style_record.h"
#include "core/mapfile/position_text.h"
#include "core/mapfile/record_undo.h"
#include "core/mapfile/record_write.h"
#include "samples/sample_package.h"
#include "support/fakes.h"
#include "support/scratch_dir.h"

namespace atrybuty {
namespace {

using testing::MemoryJournal;
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
  const auto files = testing::MakePlatformDataFiles();
  for (std::uint32_t base : {0x500u, 0x8000u, 0x10000u, 0xA3400u}) {
    WriteAll(dir.File("a.dat"), samples::DataFileBytes(Layer(base)));
    const RecordRead r = ReadLineStyleRecord(*files, dir.File("a.dat"));
    ASSERT_EQ(r.status, RecordStatus::Ok) << std::hex << base;
    EXPECT_EQ(r.base, base);
    EXPECT_EQ(r.style, (LineStyle{3, 2, {0xFF, 0x80, 0x00}}));
    EXPECT_EQ(ColourValue(r.style.colour), 33023u);
  }
}

TEST(ReadLineStyleRecord, ReportsEveryFileProblem) {
  ScratchDir dir;
  const auto files = testing::MakePlatformDataFiles();
  WriteAll(dir.File("norecord.dat"), samples::DataFileBytes(Layer(0, 0x400)));
  WriteAll(dir.File("empty.dat"), {});
  WriteAll(dir.File("pointer-cut.dat"), std::vector<std::uint8_t>(0x13A, 1));
  auto crossing = samples::DataFileBytes(Layer(0x500));
  crossing.resize(0x512);  // the blue byte at 0x512 is missing
  WriteAll(dir.File("crossing.dat"), crossing);
  WriteAll(dir.File("beyond.dat"), samples::DataFileBytes(Layer(0x2000, 0x1000)));

  EXPECT_EQ(ReadLineStyleRecord(*files, dir.File("norecord.dat")).status, RecordStatus::NoRecord);
  EXPECT_EQ(ReadLineStyleRecord(*files, dir.File("missing.dat")).status, RecordStatus::CannotOpen);
  EXPECT_EQ(ReadLineStyleRecord(*files, dir.File("empty.dat")).status, RecordStatus::TooShortForPointer);
  EXPECT_EQ(ReadLineStyleRecord(*files, dir.File("pointer-cut.dat")).status, RecordStatus::TooShortForPointer);
  EXPECT_EQ(ReadLineStyleRecord(*files, dir.File("crossing.dat")).status, RecordStatus::TooShortForRecord);
  EXPECT_EQ(ReadLineStyleRecord(*files, dir.File("beyond.dat")).status, RecordStatus::TooShortForRecord);
  EXPECT_NE(ReadLineStyleRecord(*files, dir.Prefix()).status, RecordStatus::Ok) << "a directory is no data file";
}

// ---- The checked write. ----

// A data file whose writes fail from the n-th on (put-backs too, if asked).
class FailingWrites final : public DataFiles {
 public:
  FailingWrites(int okWrites, bool putBacksFail) : left_(okWrites), putBacksFail_(putBacksFail) {}
  OpenedFile OpenForReading(const std::filesystem::path& p) override { return real_->OpenForReading(p); }
  OpenedFile OpenForWriting(const std::filesystem::path& p) override {
    OpenedFile opened = real_->OpenForWriting(p);
    if (opened.file) opened.file = std::make_unique<File>(std::move(opened.file), *this);
    return opened;
  }
  std::optional<std::filesystem::path> RealFolder(const std::filesystem::path& f) override {
    return real_->RealFolder(f);
  }

 private:
  struct File final : DataFile {
    File(std::unique_ptr<DataFile> f, FailingWrites& o) : real(std::move(f)), owner(o) {}
    std::optional<std::uint64_t> Size() override { return real->Size(); }
    bool ReadAt(std::uint64_t at, std::span<std::uint8_t> b) override { return real->ReadAt(at, b); }
    bool WriteAt(std::uint64_t at, std::span<const std::uint8_t> b) override {
      if (owner.left_ > 0) {
        --owner.left_;
        return real->WriteAt(at, b);
      }
      if (!owner.failed_) return owner.failed_ = true, false;
      return !owner.putBacksFail_ && real->WriteAt(at, b);
    }
    bool Flush() override { return real->Flush(); }
    std::optional<std::filesystem::path> RealPath() override { return real->RealPath(); }
    std::unique_ptr<DataFile> real;
    FailingWrites& owner;
  };
  int left_;
  bool putBacksFail_;
  bool failed_ = false;
  std::unique_ptr<DataFiles> real_ = testing::MakePlatformDataFiles();
};

class CheckedWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    original = samples::DataFileBytes(Layer(0x10000));
    WriteAll(path, original);
  }
  RecordSnapshot AsRead() { return {path, 0x10000, {3, 2, {0xFF, 0x80, 0x00}}}; }
  std::vector<std::uint8_t> With(std::initializer_list<std::pair<std::uint32_t, std::uint8_t>> changes) const {
    auto bytes = original;
    for (auto [at, value] : changes) bytes[0x10000 + at] = value;
    return bytes;
  }
  RecordWriteResult Write(DataFiles& with, const RecordSnapshot& snapshot, const RecordChange& change,
                          const std::optional<std::filesystem::path>& folder = std::nullopt) {
    return WriteRecord(with, snapshot, change, journal, {"Polska", "Granice"}, folder);
  }

  ScratchDir dir;
  std::string path = dir.File("a.dat");
  std::vector<std::uint8_t> original;
  std::unique_ptr<DataFiles> files = testing::MakePlatformDataFiles();
  MemoryJournal journal;
};

TEST_F(CheckedWrite, ChangesExactlyTheRecordAndJournalsAllFiveBytesFirst) {
  const RecordChange change{4, 77, RgbBytes{0x12, 0x34, 0x56}};
  const RecordWriteResult r = Write(*files, AsRead(), change);
  ASSERT_EQ(r.status, RecordWriteStatus::Written);
  EXPECT_EQ(ReadAll(path), With({{13, 4}, {14, 77}, {16, 0x12}, {17, 0x34}, {18, 0x56}}));
  ASSERT_EQ(journal.entries.size(), 1u);
  EXPECT_EQ(journal.entries[0].bytes, (std::vector<JournalByte>{{0x1000D, 3, 4},
                                                                {0x1000E, 2, 77},
                                                                {0x10010, 0xFF, 0x12},
                                                                {0x10011, 0x80, 0x34},
                                                                {0x10012, 0x00, 0x56}}));
  EXPECT_TRUE(std::filesystem::path(journal.entries[0].dataFile).is_absolute()) << journal.entries[0].dataFile;

  EXPECT_EQ(Write(*files, AsRead(), {5, 1, std::nullopt}).status, RecordWriteStatus::RecordChanged)
      << "the old snapshot no longer matches";
  EXPECT_EQ(Write(*files, {path, 0x10000, r.found}, {5, 1, std::nullopt}).status, RecordWriteStatus::Written);
  EXPECT_EQ(ReadAll(path), With({{13, 5}, {14, 1}, {16, 0x12}, {17, 0x34}, {18, 0x56}}))
      << "no colour confirmed: the colour bytes stay";
}

// Another program rewrote the file since the read: nothing is written, not
// even a journal line.
TEST_F(CheckedWrite, RefusesAFileThatNoLongerHoldsTheRecordRead) {
  struct Row {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> rewrite;
    RecordWriteStatus status;
  };
  const Row rows[] = {
      {"record moved, same length", [](auto& b) { b[kPointerHighOffset] = 0; b[kPointerLowOffset] = 0x05; },
       RecordWriteStatus::RecordMoved},
      {"record removed", [](auto& b) { b[kPointerHighOffset] = 0; }, RecordWriteStatus::RecordMoved},
      {"a byte of it changed", [](auto& b) { b[0x10000 + 17] ^= 1; }, RecordWriteStatus::RecordChanged},
      {"shrunk into the record", [](auto& b) { b.resize(0x10000 + 15); }, RecordWriteStatus::TooShort},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto rewritten = original;
    row.rewrite(rewritten);
    WriteAll(path, rewritten);
    journal.entries.clear();
    EXPECT_EQ(Write(*files, AsRead(), {7, 7, RgbBytes{1, 2, 3}}).status, row.status);
    EXPECT_EQ(ReadAll(path), rewritten);
    EXPECT_TRUE(journal.entries.empty());
  }
  EXPECT_EQ(Write(*files, {dir.File("missing.dat"), 0x10000, {}}, {7, 7, std::nullopt}).error, FileError::NotFound);
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing.dat"))) << "never created";
  EXPECT_EQ(Write(*files, {dir.Prefix(), 0x10000, {}}, {7, 7, std::nullopt}).status, RecordWriteStatus::CannotOpen);
}

TEST_F(CheckedWrite, AFailureMidwayPutsBackWhatWasWrittenOrLeavesAJournalLineToFinishIt) {
  // The colour's three bytes go first; the thickness fails.
  FailingWrites putBack(3, false);
  EXPECT_EQ(Write(putBack, AsRead(), {4, 5, RgbBytes{1, 2, 3}}).status, RecordWriteStatus::Failed);
  EXPECT_EQ(ReadAll(path), original);

  FailingWrites stuck(3, true);
  journal.entries.clear();
  EXPECT_EQ(Write(stuck, AsRead(), {4, 5, RgbBytes{1, 2, 3}}).status, RecordWriteStatus::FailedHalfWritten);
  EXPECT_EQ(ReadAll(path), With({{16, 1}, {17, 2}, {18, 3}}));
  ASSERT_EQ(journal.entries.size(), 1u);
  EXPECT_EQ(UndoChange(*files, journal.entries[0], path, std::nullopt, journal).status, UndoStatus::Restored);
  EXPECT_EQ(ReadAll(path), original) << "undo completes the half-written record";
}

TEST_F(CheckedWrite, AFileOutsideItsFolderIsRefused) {
  ScratchDir other;
  EXPECT_EQ(Write(*files, AsRead(), {4, 5, std::nullopt}, other.Path()).status, RecordWriteStatus::OutsideFolder);
  EXPECT_EQ(ReadAll(path), original);
  EXPECT_EQ(Write(*files, AsRead(), {4, 5, std::nullopt}, dir.Path()).status, RecordWriteStatus::Written);
#ifndef _WIN32
  // A link inside the folder to a file elsewhere.
  std::filesystem::create_symlink(path, other.File("link.dat"));
  EXPECT_EQ(Write(*files, {other.File("link.dat"), 0x10000, {4, 5, {0xFF, 0x80, 0}}}, {6, 6, std::nullopt},
                  other.Path())
                .status,
            RecordWriteStatus::OutsideFolder);
#endif
}

// ---- Undo from the journal. ----

TEST_F(CheckedWrite, UndoRestoresOnlyARecordThatStillHoldsTheChange) {
  ASSERT_EQ(Write(*files, AsRead(), {4, 5, RgbBytes{1, 2, 3}}).status, RecordWriteStatus::Written);
  const JournalEntry change = journal.entries[0];
  auto later = ReadAll(path);

  later[0x10000 + 13] = 6;  // a later change of the thickness
  WriteAll(path, later);
  const UndoResult refused = UndoChange(*files, change, path, std::nullopt, journal);
  EXPECT_EQ(refused.status, UndoStatus::ChangedSince);
  EXPECT_EQ(refused.offset, 0x1000Du);
  EXPECT_EQ(ReadAll(path), later);

  later[0x10000 + 13] = 4;
  WriteAll(path, later);
  EXPECT_EQ(UndoChange(*files, change, path, std::nullopt, journal).status, UndoStatus::Restored);
  EXPECT_EQ(ReadAll(path), original);
  EXPECT_EQ(journal.entries.back().bytes.size(), 5u) << "the undo is journaled as a change of its own";
  EXPECT_EQ(UndoChange(*files, change, path, std::nullopt, journal).status, UndoStatus::AlreadyRestored);
}

// Any program of the user can append to the journal: a forged line must not
// make undo write anything but the record's five bytes.
TEST_F(CheckedWrite, UndoRefusesLinesThatAreNoRecordChange) {
  const std::string text = dir.File("notes.txt");
  WriteAll(text, std::vector<std::uint8_t>(400, 'B'));
  const auto forged = ParseJournalLine("2026-12-08T10:11:12Z\t-\t-\tx\t1:41>42 2:41>42 3:41>42 4:41>42 5:41>42");
  ASSERT_TRUE(forged);
  EXPECT_EQ(UndoChange(*files, *forged, text, std::nullopt, journal).status, UndoStatus::NoRecord);
  EXPECT_EQ(UndoChange(*files, *forged, path, std::nullopt, journal).status, UndoStatus::NotARecordChange);
  EXPECT_EQ(ReadAll(text), std::vector<std::uint8_t>(400, 'B'));
  EXPECT_EQ(ReadAll(path), original);
  EXPECT_TRUE(journal.entries.empty());

  ScratchDir other;
  ASSERT_EQ(Write(*files, AsRead(), {4, 5, std::nullopt}).status, RecordWriteStatus::Written);
  EXPECT_EQ(UndoChange(*files, journal.entries[0], path, other.Path(), journal).status, UndoStatus::OutsideFolder);
  EXPECT_EQ(UndoChange(*files, journal.entries[0], path, dir.Path(), journal).status, UndoStatus::Restored);
}

// ---- Names of data files. ----

TEST(DataFileName, OnlyFilesInsideTheDataDirectoryAreNamed) {
  const std::pair<const char*, DataFileName> rows[] = {
      {"GRANICE.DAT", DataFileName::Ok},
      {"sub\\GRANICE.DAT", DataFileName::Ok},
      {"sub/./x/../GRANICE.DAT", DataFileName::Ok},
      {"..\\GRANICE.DAT", DataFileName::LeavesFolder},
      {"sub\\..\\..\\Windows\\win.ini", DataFileName::LeavesFolder},
      {"..\\Data\\GRANICE.DAT", DataFileName::LeavesFolder},
      {"sub\\..", DataFileName::LeavesFolder},
      {"\\", DataFileName::LeavesFolder},
      {"C:\\Windows\\win.ini", DataFileName::StreamOrDrive},
      {"GRANICE.DAT:ukryty", DataFileName::StreamOrDrive},
      {"COM1", DataFileName::Device},
      {"nul.dat", DataFileName::Device},
      {"sub\\Lpt9.txt", DataFileName::Device},
      {"CON ", DataFileName::Device},
      {"COM10", DataFileName::Ok},
      {"", DataFileName::NotAName},
      {"a?b.dat", DataFileName::NotAName},
      {"a\tb.dat", DataFileName::NotAName},
  };
  for (const auto& [name, expected] : rows) EXPECT_EQ(CheckDataFileName(name), expected) << name;
}

// ---- The elevated step's request. ----

TEST(ElevatedWrite, RequestsRoundTripThroughTheCommandLineAndNothingElseParses) {
  const ElevatedWrite request{{"C:\\Program Files (x86)\\Common Files\\Żółw.dat", 0xA3400, {0, 7, {1, 2, 3}}},
                              {7, 77, RgbBytes{0xAB, 0xCD, 0xEF}},
                              {"Polska", "Granice \"województw\""},
                              "C:\\Users\\Łucja\\AppData\\Roaming\\Atrybuty\\zmiany.txt"};
  const auto args = ElevatedWriteArguments(request);
  EXPECT_EQ(ParseElevatedWrite(args), request);
  auto noColour = request;
  noColour.change.colour.reset();
  EXPECT_EQ(ParseElevatedWrite(ElevatedWriteArguments(noColour)), noColour);
  for (std::size_t i : {1u, 2u, 5u}) {
    auto bad = args;
    bad[i] += "0";
    EXPECT_FALSE(ParseElevatedWrite(bad)) << i;
  }
  auto badThickness = args;
  badThickness[3] = "256";
  EXPECT_FALSE(ParseElevatedWrite(badThickness));
  auto zeroBase = args;
  zeroBase[1] = "000000";
  EXPECT_FALSE(ParseElevatedWrite(zeroBase));
  EXPECT_FALSE(ParseElevatedWrite({args.begin(), args.end() - 1}));
  EXPECT_EQ(StatusOfElevatedExit(ElevatedExitCode(RecordWriteStatus::RecordMoved)), RecordWriteStatus::RecordMoved);
  EXPECT_FALSE(StatusOfElevatedExit(1));
}

}  // namespace
}  // namespace atrybuty
