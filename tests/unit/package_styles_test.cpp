// A package's line styles without the dialog: the export file's format, and
// export, change and import over real files.

#include <gtest/gtest.h>

#include "core/config/profile.h"
#include "core/mapfile/data_file_path.h"
#include "core/mapfile/package_styles.h"
#include "core/mapfile/style_file.h"
#include "core/text/paths.h"
#include "samples/sample_package.h"
#include "support/fakes.h"
#include "support/scratch_dir.h"

namespace atrybuty {
namespace {

using testing::ReadAll;
using testing::WriteAll;

TEST(StyleFile, RoundTripsExactlyAndReadsAsWritten) {
  using Kept = StyleRow::Kept;
  const StyleFile file{"Polska",
                       {{"Drogi krajowe", "DROGI.DAT", LineStyle{0, 77, {0xFF, 0x80, 0x00}}, Kept::Record},
                        {"Ścieżki\trowerowe", "sub\\ROWERY.DAT", std::nullopt, Kept::NoRecord},
                        {"#1 Gazociągi", "GAZ.DAT", std::nullopt, Kept::Unreadable}}};
  const std::string text = FormatStyleFile(file);
  EXPECT_EQ(text,
            "Atrybuty: style linii, wersja 1\r\nPakiet\tPolska\r\nWarstwa\tPlik danych\tGrubość\tStyl\tKolor\r\n"
            "Drogi krajowe\tDROGI.DAT\t0\t77\t#FF8000\r\n"
            "Ścieżki\\trowerowe\tsub\\\\ROWERY.DAT\tbrak rekordu\r\n"
            "\\#1 Gazociągi\tGAZ.DAT\tnieczytelny\r\n")
      << "a leading # is escaped, or the layer's line would read as a comment";
  EXPECT_EQ(std::get<StyleFile>(ParseStyleFile(text)), file);
  // As a person may have saved it: a byte order mark, LF lines, a comment.
  std::string edited = "\xEF\xBB\xBF# moje style\n" + text;
  std::erase(edited, '\r');
  EXPECT_EQ(std::get<StyleFile>(ParseStyleFile(edited)), file);
}

TEST(StyleFile, BrokenFilesNameTheirLine) {
  const std::string head = "Atrybuty: style linii, wersja 1\nPakiet\tPolska\nWarstwa\tPlik danych\tGrubość\tStyl\tKolor\n";
  const std::pair<std::string, int> rows[] = {
      {"", 0},
      {"Atrybuty: style linii, wersja 2\n", 1},
      {"Atrybuty: style linii, wersja 1\nPakiet\n", 2},
      {head.substr(0, head.rfind("Warstwa")) + "Warstwa\tPlik\n", 3},
      {head + "A\tA.DAT\t1\t2\n", 4},
      {head + "A\tA.DAT\t256\t2\t#000000\n", 4},
      {head + "A\tA.DAT\t1\t2\t#00000G\n", 4},
      {head + "A\tA.DAT\t1\t2\t255\n", 4},
      {head + "A\\x\tA.DAT\t1\t2\t#000000\n", 4},
  };
  for (const auto& [text, line] : rows) {
    const auto parsed = ParseStyleFile(text);
    ASSERT_TRUE(std::holds_alternative<StyleFileError>(parsed)) << text;
    if (line) { EXPECT_EQ(std::get<StyleFileError>(parsed).line, line) << text; }
  }
}

class PackageStylesTest : public ::testing::Test {
 protected:
  PackageStylesTest() {
    for (const auto& layer : package.layers) WriteAll(dir.File(layer.fileName), samples::DataFileBytes(layer));
  }
  PackageStyles Open() {
    auto table = LoadLayerTable(Profile::Parse(samples::ClearConfiguration(package)));
    return PackageStyles(*files, codec, "Polska", std::get<LayerTable>(std::move(table)), dir.Path());
  }
  std::vector<std::vector<std::uint8_t>> AllFiles() {
    std::vector<std::vector<std::uint8_t>> all;
    for (const auto& layer : package.layers) all.push_back(ReadAll(dir.File(layer.fileName)));
    return all;
  }

  testing::ScratchDir dir;
  samples::SamplePackage package = samples::BundledSample();
  std::unique_ptr<DataFiles> files = testing::MakePlatformDataFiles();
  Cp1250Codec codec;
  testing::MemoryJournal journal;
};

// An export restores a changed package exactly, writing only what differs.
TEST_F(PackageStylesTest, ExportAndImportRestoreAChangedPackageExactly) {
  PackageStyles styles = Open();
  const StyleFile exported = styles.Export();
  ASSERT_EQ(exported.rows.size(), 7u);
  EXPECT_EQ(exported.rows[3].style, (LineStyle{0, 0, {0x12, 0x34, 0x56}})) << "stored zeros are exported as they are";
  EXPECT_EQ(exported.rows[4].kept, StyleRow::Kept::NoRecord);
  EXPECT_EQ(exported.rows[5].kept, StyleRow::Kept::Unreadable) << "Gazociągi's file is too short for its record";
  const auto before = AllFiles();

  const int granice = styles.FindLayer("Granice województw");
  ASSERT_EQ(granice, 3);
  const RecordRead read = styles.Read(granice);
  ASSERT_EQ(styles.Write(granice, read, {7, 1, RgbBytes{1, 2, 3}}, journal).status, RecordWriteStatus::Written);
  ASSERT_NE(AllFiles(), before);

  journal.entries.clear();
  const auto results = styles.Import(std::get<StyleFile>(ParseStyleFile(FormatStyleFile(exported))), {}, journal);
  EXPECT_EQ(AllFiles(), before);
  ASSERT_EQ(results.size(), 7u);
  for (const ImportResult& r : results) {
    const bool changed = r.layer == "Granice województw";
    const bool refused = r.layer == "Gazociągi";  // its file is too short for its record
    EXPECT_EQ(r.outcome, changed ? ImportOutcome::Changed : refused ? ImportOutcome::Refused : ImportOutcome::Unchanged)
        << r.layer << ": " << r.reason;
  }
  EXPECT_EQ(journal.entries.size(), 1u) << "one change, journaled";
}

TEST_F(PackageStylesTest, ImportRefusesWhatItCannotMatchAndTakesOnlyTheLayersNamed) {
  PackageStyles styles = Open();
  StyleFile file = styles.Export();
  file.rows[0].style->thickness = 6;  // Drogi krajowe
  file.rows[1].style->thickness = 6;  // Rzeki
  file.rows[2].dataFile = "INNY.DAT";
  file.rows[3].style->style = 78;  // beyond any picture the dialog shows
  file.rows.push_back({"Nie ma takiej", "X.DAT", LineStyle{1, 1, {}}});
  EXPECT_TRUE(styles.Import(file, std::vector<std::string>{}, journal).empty()) << "an empty list names no layer";
  const auto results = styles.Import(
      file, std::vector<std::string>{"Rzeki", "Granice województw", "Nie ma takiej", "Brak w pliku", file.rows[3].layer},
      journal);
  ASSERT_EQ(results.size(), 5u);
  EXPECT_EQ(results[0].outcome, ImportOutcome::Changed);
  EXPECT_EQ(results[1].outcome, ImportOutcome::Refused);
  EXPECT_NE(results[1].reason.find("inny plik danych"), std::string::npos);
  EXPECT_EQ(results[2].outcome, ImportOutcome::Refused);
  EXPECT_NE(results[2].reason.find("spoza zakresu"), std::string::npos) << results[2].reason;
  EXPECT_EQ(results[3].outcome, ImportOutcome::Refused) << "Nie ma takiej";
  EXPECT_EQ(results[4].layer, "Brak w pliku");
  EXPECT_EQ(results[4].outcome, ImportOutcome::Refused);
  EXPECT_EQ(styles.Read(1).style.thickness, 3) << "Drogi krajowe was not named";
  EXPECT_EQ(styles.Read(2).style.thickness, 6);
}

// With nobody to tell, a change the journal cannot record is not made: it
// could never be undone.
TEST_F(PackageStylesTest, NothingIsWrittenThatTheJournalCannotRecord) {
  PackageStyles styles = Open();
  const auto before = AllFiles();
  journal.fail = true;
  EXPECT_EQ(styles.Write(2, styles.Read(2), {7, 1, std::nullopt}, journal).status, RecordWriteStatus::NotJournaled);
  StyleFile file = styles.Export();
  file.rows[1].style->thickness = 6;
  const auto results = styles.Import(file, std::nullopt, journal);
  EXPECT_EQ(results[1].outcome, ImportOutcome::Refused);
  EXPECT_NE(results[1].reason.find("dziennika"), std::string::npos) << results[1].reason;
  EXPECT_EQ(AllFiles(), before);
}

}  // namespace
}  // namespace atrybuty
