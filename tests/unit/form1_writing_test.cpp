// Writing the dialog's line style into the data file: whole files compared.

#include <gtest/gtest.h>

#include "core/mapfile/position_text.h"
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

}  // namespace
}  // namespace atrybuty
