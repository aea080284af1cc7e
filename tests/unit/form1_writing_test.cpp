// Writing the dialog's line style into the data file: whole files compared.

#include <gtest/gtest.h>

#include "core/mapfile/position_text.h"
#include "core/text/paths.h"
#include "support/form1_fixture.h"

namespace atrybuty {
namespace {

using testing::Form1Fixture;
using testing::WriteAll;
using testing::WriteText;

constexpr int kGranice = 2, kKolej = 3, kRowery = 4;
constexpr std::uint32_t kGraniceBase = 0x10000;

class Form1Writing : public Form1Fixture {
 protected:
  void SetUp() override {
    InstallSample();
    LoadOk();
    Choose(kGranice);
    before = DataBytes("GRANICE.DAT");
  }
  // The file as it was, with these record bytes changed.
  std::vector<std::uint8_t> Expected(std::initializer_list<std::pair<std::uint32_t, std::uint8_t>> changes) const {
    auto bytes = before;
    for (auto [at, value] : changes) bytes[kGraniceBase + at] = value;
    return bytes;
  }
  std::vector<std::uint8_t> before;
};

TEST_F(Form1Writing, PureRedConfirmed) {
  view.colourAnswers = {255};
  form->LblColor_Click();
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::Written);
  EXPECT_EQ(form->KolorHex(), "0000FF");
  EXPECT_EQ(DataBytes("GRANICE.DAT"), Expected({{13, 5}, {14, 30}, {16, 0xFF}, {17, 0}, {18, 0}}));
}

TEST_F(Form1Writing, ColourBytesFollowKolorHex) {
  view.colourAnswers = {0x563412};
  form->LblColor_Click();
  view.SelectPickerItem(Picker::Thickness, 4);
  view.SelectPickerItem(Picker::Style, 2);
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::Written);
  EXPECT_EQ(form->KolorHex(), "563412");
  EXPECT_EQ(form->Grubosc(), 4);
  EXPECT_EQ(form->Styl(), 2);
  EXPECT_EQ(DataBytes("GRANICE.DAT"), Expected({{13, 4}, {14, 2}, {16, 0x12}, {17, 0x34}, {18, 0x56}}));
}

TEST_F(Form1Writing, WithoutAConfirmedColourOnlyThicknessAndStyleAreWritten) {
  view.SelectPickerItem(Picker::Thickness, 6);
  view.swatch = 0x123456;  // shown, but never confirmed in the colour dialog
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::Written);
  EXPECT_EQ(DataBytes("GRANICE.DAT"), Expected({{13, 6}, {14, 30}}));
}

TEST_F(Form1Writing, StoredZeroIsWrittenBackAsOne) {
  Choose(kKolej);
  const auto kolej = DataBytes("KOLEJ.DAT");
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::Written);
  auto expected = kolej;
  expected[0xA3400 + 13] = 1;
  expected[0xA3400 + 14] = 1;
  EXPECT_EQ(DataBytes("KOLEJ.DAT"), expected);
}

TEST_F(Form1Writing, TwoAppliesEqualOne) {
  view.colourAnswers = {0x00FF00};
  form->LblColor_Click();
  view.SelectPickerItem(Picker::Style, 44);
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::Written);
  const auto once = DataBytes("GRANICE.DAT");
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::Written);
  EXPECT_EQ(DataBytes("GRANICE.DAT"), once);
  EXPECT_EQ(once, Expected({{13, 5}, {14, 44}, {16, 0}, {17, 0xFF}, {18, 0}}));
}

TEST_F(Form1Writing, JournalRecordsOldAndNewBytesBeforeTheWrite) {
  view.colourAnswers = {0x563412};
  form->LblColor_Click();
  view.SelectPickerItem(Picker::Thickness, 7);
  ASSERT_EQ(form->ZmianaWarstw(), WriteOutcome::Written);
  ASSERT_EQ(journal.entries.size(), 1u);
  const JournalEntry& e = journal.entries[0];
  EXPECT_EQ(e.package, "Polska");
  EXPECT_EQ(e.layer, "Granice województw");
  EXPECT_NE(e.dataFile.find("GRANICE.DAT"), std::string::npos);
  EXPECT_EQ(e.bytes, (std::vector<JournalByte>{{kGraniceBase + 13, 5, 7},
                                               {kGraniceBase + 14, 30, 30},
                                               {kGraniceBase + 16, 0x80, 0x12},
                                               {kGraniceBase + 17, 0x00, 0x34},
                                               {kGraniceBase + 18, 0x80, 0x56}}));
}

TEST_F(Form1Writing, UnwritableJournalDoesNotBlockTheChange) {
  journal.fail = true;
  view.SelectPickerItem(Picker::Thickness, 2);
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::Written);
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::Written);
  EXPECT_EQ(DataBytes("GRANICE.DAT"), Expected({{13, 2}, {14, 30}}));
  ASSERT_EQ(messages.shown.size(), 1u) << "said once, not at every apply";
  EXPECT_NE(messages.shown[0].text.find("dziennika zmian"), std::string::npos);
}

TEST_F(Form1Writing, NoCurrentRecordWritesNothingAnywhere) {
  auto package = samples::BundledSample();
  std::swap(package.layers[0], package.layers[kRowery]);  // the first layer has no record
  Install(package);
  LoadOk();
  ASSERT_FALSE(form->JestWarstwa());
  messages.shown.clear();
  const auto allBefore = std::vector{DataBytes("ROWERY.DAT"), DataBytes("DROGI.DAT"), DataBytes("GRANICE.DAT")};

  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::NothingWritten);
  EXPECT_EQ(messages.Texts(),
            (std::vector<std::string>{"Brak warstwy o podanej nazwie.",
                                      "Brak warstwy \"Ścieżki rowerowe\". Zainstaluj ponownie pakiet lub skontaktuj "
                                      "się z dostawcą oprogramowania.",
                                      "Brak warstwy o podanej nazwie", "Brak warstwy o podanej nazwie"}));
  EXPECT_EQ(messages.shown[0].kind, MessageKind::PlainOk);
  EXPECT_FALSE(messages.shown[0].caption);
  EXPECT_EQ((std::vector{DataBytes("ROWERY.DAT"), DataBytes("DROGI.DAT"), DataBytes("GRANICE.DAT")}), allBefore);
  EXPECT_TRUE(journal.entries.empty());
}

TEST_F(Form1Writing, ReselectedFirstLayerIsNotWrittenInTheSameApply) {
  // The layer shown lost its record after it was read: the apply finds none
  // current only after the user chose a layer without one.
  Choose(kRowery);  // falls back to the first layer, whose record is current again
  ASSERT_TRUE(form->JestWarstwa());
  auto package = samples::BundledSample();
  package.layers[0].base = 0;  // the first layer's file loses its record
  WriteAll(DataPath("DROGI.DAT"), samples::DataFileBytes(package.layers[0]));
  Choose(0);
  ASSERT_FALSE(form->JestWarstwa());
  WriteAll(DataPath("DROGI.DAT"), samples::DataFileBytes(samples::BundledSample().layers[0]));  // and gets it back
  const auto drogi = DataBytes("DROGI.DAT");
  messages.shown.clear();

  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::NothingWritten);
  EXPECT_TRUE(form->JestWarstwa()) << "the first layer was read again";
  EXPECT_EQ(DataBytes("DROGI.DAT"), drogi) << "but nothing was written into it in this apply";
  EXPECT_EQ(messages.Texts(),
            (std::vector<std::string>{"Brak warstwy o podanej nazwie.", "Brak warstwy o podanej nazwie",
                                      "Brak warstwy o podanej nazwie"}));
}

TEST_F(Form1Writing, FileThatShrankSinceTheReadIsNotTouched) {
  auto shrunk = before;
  shrunk.resize(kGraniceBase + 17);
  WriteAll(DataPath("GRANICE.DAT"), shrunk);
  view.colourAnswers = {255};
  form->LblColor_Click();
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::NothingWritten);
  EXPECT_EQ(DataBytes("GRANICE.DAT"), shrunk) << "no byte changed, no byte added";
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find("GRANICE.DAT"), std::string::npos);
  EXPECT_NE(messages.shown[0].text.find("Nic nie zostało zapisane"), std::string::npos);
  EXPECT_TRUE(journal.entries.empty());
}

TEST_F(Form1Writing, FileThatCannotBeOpenedIsReported) {
  std::filesystem::remove(DataPath("GRANICE.DAT"));
  std::filesystem::create_directory(DataPath("GRANICE.DAT"));
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::NothingWritten);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find("Nie mogę zapisać pliku danych mapy"), std::string::npos);
  EXPECT_EQ(messages.shown[0].caption, std::optional<std::string>("Zmiana atrybutów linii"));
}

TEST_F(Form1Writing, PickerWithoutSelectionIsRefused) {
  view.SelectPickerItem(Picker::Style, 0);
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::NothingWritten);
  EXPECT_EQ(DataBytes("GRANICE.DAT"), before);
  ASSERT_EQ(messages.shown.size(), 1u);
}

// Another program moved the record since the read (same length): nothing is
// written at the old positions, the user is told, the layer is read again.
TEST_F(Form1Writing, RecordMovedSinceTheReadIsToldAndReadAgain) {
  auto moved = samples::BundledSample().layers[kGranice];
  moved.base = 0xF00;
  auto bytes = samples::DataFileBytes(moved);
  bytes.resize(before.size());
  WriteAll(DataPath("GRANICE.DAT"), bytes);
  view.SelectPickerItem(Picker::Thickness, 7);
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::NothingWritten);
  EXPECT_EQ(DataBytes("GRANICE.DAT"), bytes);
  EXPECT_TRUE(journal.entries.empty());
  ASSERT_EQ(messages.Texts().size(), 1u) << ::testing::PrintToString(messages.Texts());
  EXPECT_NE(messages.shown[0].text.find("zmienił się od chwili"), std::string::npos) << messages.shown[0].text;
  ASSERT_TRUE(form->Snapshot());
  EXPECT_EQ(form->Snapshot()->base, 0xF00u) << "the layer was read again";
  EXPECT_EQ(form->AdresGrubosci(), "F0E");
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::Written) << "the next apply writes the record as it is now";
}

// A standard user below Program Files: "access denied" offers the change as
// administrator, made from this read, and the file decides how it ended.
TEST_F(Form1Writing, AccessDeniedOffersToWriteAsAdministrator) {
  struct Row {
    const char* name;
    MessageAnswer answer;
    ElevationOutcome outcome;
    std::optional<unsigned long> exitCode;  // the step ends so without writing
    WriteOutcome expected;
    const char* told;  // part of the last message, or "" for none after the question
  };
  const Row rows[] = {
      {"declined in the dialog", MessageAnswer::No, ElevationOutcome::Ran, std::nullopt, WriteOutcome::NothingWritten,
       ""},
      {"written as administrator", MessageAnswer::Yes, ElevationOutcome::Ran, std::nullopt, WriteOutcome::Written, ""},
      {"consent refused", MessageAnswer::Yes, ElevationOutcome::Declined, std::nullopt, WriteOutcome::NothingWritten,
       "nie został zatwierdzony"},
      {"cannot start", MessageAnswer::Yes, ElevationOutcome::CannotStart, std::nullopt, WriteOutcome::NothingWritten,
       "Nie mogę uruchomić zapisu jako administrator"},
      {"record changed meanwhile", MessageAnswer::Yes, ElevationOutcome::Ran,
       ElevatedExitCode(RecordWriteStatus::RecordChanged), WriteOutcome::NothingWritten, "zmienił się od chwili"},
      {"failed", MessageAnswer::Yes, ElevationOutcome::Ran, ElevatedExitCode(RecordWriteStatus::Failed),
       WriteOutcome::NothingWritten, "nie powiódł się"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    WriteAll(DataPath("GRANICE.DAT"), before);
    Choose(kGranice);
    view.colourAnswers = {0x563412};
    form->LblColor_Click();
    view.SelectPickerItem(Picker::Thickness, 7);
    messages.shown.clear();
    messages.answers = {row.answer};
    elevation.requests.clear();
    elevation.outcome = row.outcome;
    elevation.exitCode = row.exitCode;
    files.failWrites = {FileError::AccessDenied};

    EXPECT_EQ(form->ZmianaWarstw(), row.expected);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown[0].kind, MessageKind::YesNoInfo);
    EXPECT_NE(messages.shown[0].text.find("jako administrator"), std::string::npos);
    if (*row.told) { EXPECT_NE(messages.shown.back().text.find(row.told), std::string::npos) << messages.shown.back().text; }
    if (!*row.told) { EXPECT_EQ(messages.shown.size(), 1u); }
    EXPECT_EQ(DataBytes("GRANICE.DAT"), row.expected == WriteOutcome::Written
                                            ? Expected({{13, 7}, {14, 30}, {16, 0x12}, {17, 0x34}, {18, 0x56}})
                                            : before);
    if (row.answer == MessageAnswer::No) {
      EXPECT_TRUE(elevation.requests.empty());
      continue;
    }
    ASSERT_EQ(elevation.requests.size(), 1u);
    const ElevatedWrite& r = elevation.requests[0];
    EXPECT_EQ(r.snapshot.path, std::filesystem::path(DataPath("GRANICE.DAT")));
    EXPECT_EQ(r.snapshot.base, kGraniceBase);
    EXPECT_EQ(r.snapshot.style, (LineStyle{5, 30, {0x80, 0x00, 0x80}})) << "the record the dialog read";
    EXPECT_EQ(r.change, (RecordChange{7, 30, RgbBytes{0x12, 0x34, 0x56}}));
    EXPECT_EQ(r.context, (ChangeContext{"Polska", "Granice województw"}));
  }
}

// Program Files and a data file named with Polish letters (ANSI, as the
// registry and the configuration hold them): read and written all the same.
TEST_F(Form1Fixture, PolishLettersInTheDataFilesPathWork) {
  const std::string programFiles = dir.Prefix() + "Pliki \xA3\xF3" "d\x9F";  // "Łódź" in code page 1250
  registry.Set(kCurrentVersionKey, kProgramFilesDirValue, programFiles);
  auto package = samples::BundledSample();
  package.layers[2].fileName = "GRANICE \xAF\xF3\xB3w.DAT";  // "Żółw"
  const std::filesystem::path data = PathFromAnsi(codec, DataFilePath(programFiles, package.layers[2].fileName));
  std::filesystem::create_directories(data.parent_path());
  WriteAll(Utf8FromPath(data), samples::DataFileBytes(package.layers[2]));
  Install(package);
  LoadOk();
  messages.shown.clear();
  Choose(kGranice);
  ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].text;
  view.SelectPickerItem(Picker::Thickness, 6);
  EXPECT_EQ(form->ZmianaWarstw(), WriteOutcome::Written);
  EXPECT_EQ(testing::ReadAll(Utf8FromPath(data))[kGraniceBase + 13], 6);
  ASSERT_EQ(journal.entries.size(), 1u);
  EXPECT_NE(journal.entries[0].dataFile.find("Łódź"), std::string::npos) << journal.entries[0].dataFile;
}

// A configuration's file name that leaves the data directory, or names a
// device, is never opened: the layer is treated as one whose file is missing.
TEST_F(Form1Fixture, DataFileNamesOutsideTheDataDirectoryAreNeverOpened) {
  auto package = samples::BundledSample();
  package.layers[2].fileName = "..\\GRANICE.DAT";
  package.layers[3].fileName = "COM1";
  Install(package);
  LoadOk();
  for (auto [layer, why] : {std::pair{2, "poza katalogiem danych map"}, std::pair{3, "wskazuje urządzenie"}}) {
    messages.shown.clear();
    const int opensBefore = files.readOpens;
    Choose(layer);
    EXPECT_EQ(files.readOpens, opensBefore + 1) << "only the first layer, chosen instead, is opened";
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(why), std::string::npos) << messages.shown[0].text;
    EXPECT_EQ(view.selectedLayer, 0);
  }
}

}  // namespace
}  // namespace atrybuty
