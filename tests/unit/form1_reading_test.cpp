// Loading Form1, choosing layers and reading their current line style.

#include <gtest/gtest.h>

#include "core/form1/pictures.h"
#include "support/form1_fixture.h"

namespace atrybuty {
namespace {

using testing::Form1Fixture;
using testing::WriteAll;
using testing::WriteText;

constexpr int kDrogi = 0, kRzeki = 1, kGranice = 2, kKolej = 3, kRowery = 4, kGaz = 5, kZegluga = 6;

TEST_F(Form1Fixture, LoadShowsTheFirstLayer) {
  InstallSample();
  attribute->isChange = true;
  LoadOk();
  EXPECT_FALSE(attribute->isChange) << "the host sees no change yet";
  EXPECT_EQ(view.fillCalls, 1) << "the list is filled in one batch";
  ASSERT_EQ(view.layers.size(), 7u);
  EXPECT_EQ(view.layers[kGranice], "Granice województw");
  EXPECT_EQ(view.layers[kZegluga], "Żegluga śródlądowa");
  EXPECT_EQ(view.PickerCount(Picker::Style), kStylePictureCount);
  EXPECT_EQ(view.PickerCount(Picker::Thickness), kThicknessPictureCount);
  EXPECT_EQ(view.selectedLayer, 0);
  EXPECT_EQ(form->SelectedLayer(), "Drogi krajowe");
  EXPECT_TRUE(form->JestWarstwa());
  EXPECT_EQ(view.Thickness(), 3);
  EXPECT_EQ(view.Style(), 2);
  EXPECT_EQ(view.swatch, 33023u) << "red 0xFF, green 0x80, blue 0";
  EXPECT_EQ(form->AdresGrubosci(), "50E");
  EXPECT_EQ(form->AdresStylu(), "50F");
  EXPECT_EQ(form->AdresKoloru1(), "511");
  EXPECT_EQ(form->AdresKoloru2(), "512");
  EXPECT_EQ(form->AdresKoloru3(), "513");
  EXPECT_TRUE(view.foreground);
  EXPECT_FALSE(view.changeVisible);
  EXPECT_EQ(view.refreshCheck, 0);
  EXPECT_TRUE(view.refreshEnabled);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Form1Fixture, LaunchRulesForTheCheckBoxAndTheChangeButton) {
  InstallSample();
  state.fromExec = "FROM_EXEC";
  state.multiPackage = true;
  LoadOk();
  EXPECT_EQ(view.refreshCheck, 1);
  EXPECT_FALSE(view.refreshEnabled);
  EXPECT_TRUE(view.changeVisible);

  state.fromExec = "from_exec";
  state.multiPackage = false;
  LoadOk();
  EXPECT_EQ(view.refreshCheck, 0);
  EXPECT_TRUE(view.refreshEnabled);
  EXPECT_FALSE(view.changeVisible);
}

TEST_F(Form1Fixture, ChoosingLayersShowsTheirRecords) {
  InstallSample();
  LoadOk();
  Choose(kRzeki);
  EXPECT_EQ(form->SelectedLayer(), "Rzeki");
  EXPECT_EQ(view.Thickness(), 2);
  EXPECT_EQ(view.Style(), 7);
  EXPECT_EQ(form->AdresGrubosci(), "800E") << "positions from 0x8000 up stay unsigned";

  Choose(kGranice);
  EXPECT_EQ(form->AdresGrubosci(), "1000E");
  EXPECT_EQ(view.Thickness(), 5);
  EXPECT_EQ(view.Style(), 30);
  EXPECT_EQ(view.swatch, 0x800080u);

  Choose(kKolej);
  EXPECT_EQ(view.Thickness(), 1) << "a stored 0 shows the first picture";
  EXPECT_EQ(view.Style(), 1);
  EXPECT_EQ(form->AdresGrubosci(), "A340E");

  Choose(kZegluga);
  EXPECT_EQ(view.Thickness(), 7);
  EXPECT_EQ(view.Style(), 77);
  EXPECT_EQ(view.swatch, 0u);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Form1Fixture, SameLayerTwiceReadsTheFileAgain) {
  InstallSample();
  LoadOk();
  Choose(kRzeki);
  const int readsBefore = registry.reads;
  WriteAll(DataPath("RZEKI.DAT"), samples::DataFileBytes({"Rzeki", "RZEKI.DAT", 0x8000, 0, {4, 9, {1, 2, 3}}}));
  Choose(kRzeki);
  EXPECT_GT(registry.reads, readsBefore) << "Program Files is read anew for each read";
  EXPECT_EQ(view.Thickness(), 4);
  EXPECT_EQ(view.Style(), 9);
}

TEST_F(Form1Fixture, LayerWithoutRecordFallsBackToTheFirstLayer) {
  InstallSample();
  LoadOk();
  Choose(kGranice);
  Choose(kRowery);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            "Brak warstwy \"Ścieżki rowerowe\". Zainstaluj ponownie pakiet lub skontaktuj się z dostawcą "
            "oprogramowania.");
  EXPECT_EQ(messages.shown[0].kind, MessageKind::InfoOk);
  EXPECT_FALSE(messages.shown[0].caption);
  EXPECT_EQ(view.selectedLayer, 0);
  EXPECT_EQ(form->SelectedLayer(), "Drogi krajowe");
  EXPECT_TRUE(form->JestWarstwa()) << "it describes the first layer now";
  EXPECT_EQ(form->AdresGrubosci(), "50E");
  EXPECT_EQ(view.Thickness(), 3);
}

TEST_F(Form1Fixture, FirstLayerWithoutRecordIsReadOnce) {
  auto package = samples::BundledSample();
  std::swap(package.layers[0], package.layers[kRowery]);
  Install(package);
  LoadOk();
  EXPECT_EQ(messages.shown.size(), 1u) << "no endless repetition";
  EXPECT_FALSE(form->JestWarstwa());
  EXPECT_EQ(form->AdresGrubosci(), "") << "a read without record keeps the positions";
}

TEST_F(Form1Fixture, UnusableDataFilesAreNamedAndNeverLeaveARecordCurrent) {
  InstallSample();
  std::filesystem::remove(DataPath("RZEKI.DAT"));
  LoadOk();
  for (int layer : {kRzeki, kGaz}) {
    messages.shown.clear();
    Choose(layer);
    ASSERT_EQ(messages.shown.size(), 1u);
    const std::string& text = messages.shown[0].text;
    EXPECT_NE(text.find(layer == kRzeki ? "RZEKI.DAT" : "GAZ.DAT"), std::string::npos) << text;
    EXPECT_NE(text.find(layer == kRzeki ? "Nie mogę otworzyć" : "za krótki"), std::string::npos) << text;
    EXPECT_EQ(messages.shown[0].kind, MessageKind::InfoOk);
    EXPECT_EQ(view.selectedLayer, 0) << "back to the first layer";
    EXPECT_TRUE(form->JestWarstwa());
  }
}

TEST_F(Form1Fixture, MissingProgramFilesDirectoryIsReported) {
  InstallSample();
  registry.Remove(kCurrentVersionKey, kProgramFilesDirValue);
  LoadOk();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find("ProgramFilesDir"), std::string::npos);
  EXPECT_FALSE(form->JestWarstwa());
}

TEST_F(Form1Fixture, BadStyleLeavesThicknessAndColourButTakesThePositions) {
  auto package = samples::BundledSample();
  package.layers[kRzeki].style = {4, 78, {9, 9, 9}};
  package.layers[kGranice].style = {8, 5, {7, 7, 7}};
  Install(package);
  LoadOk();

  Choose(kRzeki);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Nie mogę poprawnie odczytać atrybutów pliku. Zainstaluj pakiet ponownie.");
  EXPECT_EQ(messages.shown[0].kind, MessageKind::CriticalOk);
  EXPECT_EQ(messages.shown[0].caption, std::optional<std::string>("Zmiana atrybutów linii"));
  EXPECT_EQ(view.Style(), 2);
  EXPECT_EQ(view.Thickness(), 3);
  EXPECT_EQ(view.swatch, 33023u);
  EXPECT_TRUE(form->JestWarstwa());
  EXPECT_EQ(form->AdresGrubosci(), "800E") << "the positions already belong to the new layer";

  Choose(kGranice);  // style 5 is fine, thickness 8 is not
  EXPECT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(view.Style(), 5);
  EXPECT_EQ(view.Thickness(), 3);
  EXPECT_EQ(view.swatch, 33023u);
}

TEST_F(Form1Fixture, ColourConfirmedAndCancelled) {
  InstallSample();
  LoadOk();
  view.colourAnswers = {255, std::nullopt, 0};
  form->LblColor_Click();
  EXPECT_EQ(view.swatch, 255u);
  EXPECT_EQ(view.txtKolor, "255");
  EXPECT_EQ(view.txtColorB, "0000FF");
  EXPECT_EQ(form->KolorHex(), "0000FF");
  EXPECT_TRUE(form->KolorZmieniony());

  form->LblColor_Click();  // cancelled
  EXPECT_EQ(view.swatch, 255u);
  EXPECT_EQ(view.txtKolor, "255");
  EXPECT_FALSE(form->KolorZmieniony());
  EXPECT_EQ(form->KolorHex(), "");

  form->LblColor_Click();  // black, after a cancel the dialog opens normally
  EXPECT_EQ(view.colourDialogs, 3);
  EXPECT_EQ(form->KolorHex(), "000000");
  EXPECT_TRUE(form->KolorZmieniony());
}

TEST_F(Form1Fixture, PickerChangesKeepThePositions) {
  InstallSample();
  LoadOk();
  view.SelectPickerItem(Picker::Thickness, 3);
  form->ImgComboGr_Change();
  view.SelectPickerItem(Picker::Style, 77);
  form->ImgComboSt_Change();
  EXPECT_EQ(form->Grubosc(), 3);
  EXPECT_EQ(form->Styl(), 77);
  view.SelectPickerItem(Picker::Style, 0);  // no item: the previous position stays
  form->ImgComboSt_Change();
  EXPECT_EQ(form->Styl(), 77);
}

struct LoadFailure {
  const char* name;
  const char* config;
  const char* says;
};

class Form1LoadFailures : public Form1Fixture, public ::testing::WithParamInterface<LoadFailure> {};

TEST_P(Form1LoadFailures, EndTheLoadWithADescription) {
  WriteText(dir.File("config.ini"), GetParam().config);
  state.configTempPath = dir.File("config.ini");
  const auto error = Load();
  ASSERT_TRUE(error);
  EXPECT_NE(error->description.find(GetParam().says), std::string::npos) << error->description;
  EXPECT_NE(error->description.find("\"Polska\""), std::string::npos) << error->description;
}

INSTANTIATE_TEST_SUITE_P(Table, Form1LoadFailures,
                         ::testing::Values(LoadFailure{"missing", "[Map 1]\nLayerName=A\n", "brak wartości MapCount"},
                                           LoadFailure{"not_a_number", "[Global]\nMapCount=abc\n", "MapCount=abc"},
                                           LoadFailure{"negative", "[Global]\nMapCount=-1\n", "ujemną"},
                                           LoadFailure{"too_many", "[Global]\nMapCount=32768\n", "za dużą"},
                                           LoadFailure{"zero", "[Global]\nMapCount=0\n", "nie zawiera żadnej warstwy"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Form1Fixture, MissingTemporaryCopyEndsTheLoad) {
  state.configTempPath = dir.File("gone.ini");
  const auto error = Load();
  ASSERT_TRUE(error);
  EXPECT_NE(error->description.find("Nie mogę odczytać konfiguracji"), std::string::npos);
}

}  // namespace
}  // namespace atrybuty
