// The apply command's four roads, the workbook refresh and the exits.

#include <gtest/gtest.h>

#include "support/form1_fixture.h"

namespace atrybuty {
namespace {

using testing::FakeExcel;
using testing::FakeWorkbook;
using testing::Form1Fixture;

constexpr int kGranice = 2;

class ApplyCommand : public Form1Fixture {
 protected:
  void SetUp() override {
    InstallSample();
    state.hostExcel = excel.Application();
    LoadOk();
    Choose(kGranice);
    view.SelectPickerItem(Picker::Thickness, 6);
    before = DataBytes("GRANICE.DAT");
  }
  bool Written() const { return DataBytes("GRANICE.DAT") != before; }
  void OpenWorkbook(bool saved, std::vector<std::string> progIds = {}, int windows = 1) {
    FakeWorkbook book{"Mapa.xls", "C:\\Dane\\Mapa.xls", saved, windows, {{"Arkusz1", {}}, {"Mapy", {}}}, 1};
    for (auto& id : progIds) book.sheets[1].objects.push_back({id});
    book.sheets[0].objects.push_back({"MSMap.8"});  // on another sheet: never visited
    excel.AddWorkbook(book);
  }

  FakeExcel excel;
  std::vector<std::uint8_t> before;
};

const char kMessageA[] =
    "Zmiana atrybutów linii warstwy \"Granice województw\" została zakończona. Wprowadzone zmiany będą widoczne po "
    "utworzeniu nowej mapy, lub odświeżeniu już istniejącej.";
const char kMessageB[] =
    "Zmiana atrybutów linii warstwy \"Granice województw\" została zakończona. Wprowadzone zmiany będą widoczne po "
    "utworzeniu nowej mapy.";
const char kQuestion[] =
    "Dane w arkuszu zostały zmienione. Aby ujrzeć zmiany należy zamknąć i ponownie otworzyć arkusz.\r"
    "Czy zapisać i zamknąć arkusz?";

TEST_F(ApplyCommand, ViewerRoadWritesAndHidesWithoutMessagesOrHostCalls) {
  state.viewerMode = true;
  OpenWorkbook(true);
  form->CmdAnuluj_Click();
  EXPECT_TRUE(attribute->isChange);
  EXPECT_TRUE(Written());
  EXPECT_TRUE(view.hidden);
  EXPECT_EQ(exits.calls, std::vector<std::string>{"UnloadPackageDialog"});
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_TRUE(excel.log.empty());
  EXPECT_EQ(view.applyStates, (std::vector<bool>{false, true}));
}

TEST_F(ApplyCommand, TickedCheckBoxWritesAndSaysWhenTheChangeShows) {
  OpenWorkbook(false);
  view.refreshCheck = 1;
  form->CmdAnuluj_Click();
  EXPECT_TRUE(Written());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kMessageA);
  EXPECT_EQ(messages.shown[0].kind, MessageKind::InfoOk);
  EXPECT_FALSE(messages.shown[0].caption);
  EXPECT_TRUE(excel.log.empty()) << "the workbook is untouched";
  EXPECT_FALSE(view.hidden);
}

TEST_F(ApplyCommand, NoWorkbookOpen) {
  form->CmdAnuluj_Click();
  EXPECT_TRUE(Written());
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{kMessageB});
  EXPECT_EQ(excel.log, (std::vector<std::string>{"get workbooks()", "get Count()"}));
}

TEST_F(ApplyCommand, GreyedCheckBoxCountsAsClear) {
  view.refreshCheck = 2;
  form->CmdAnuluj_Click();
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{kMessageB});
}

TEST_F(ApplyCommand, SavedWorkbookIsRefreshedWithoutAsking) {
  OpenWorkbook(true);
  form->CmdAnuluj_Click();
  EXPECT_TRUE(Written());
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(excel.log, (std::vector<std::string>{"get workbooks()",
                                                 "get Count()",
                                                 "get activeworkbook()",
                                                 "get Saved()",
                                                 "get activesheet()",
                                                 "get Name()",
                                                 "get activeworkbook()",
                                                 "get FullName()",
                                                 "get activeworkbook()",
                                                 "call Save()",
                                                 "get activeworkbook()",
                                                 "get Name()",
                                                 "get activeworkbook()",
                                                 "call Close()",
                                                 "get workbooks()",
                                                 "call Open(str&:C:\\Dane\\Mapa.xls)",
                                                 "get activeworkbook()",
                                                 "get Windows()",
                                                 "enumerate",
                                                 "put WindowState=i2:1",
                                                 "get workbooks(str&:Mapa.xls)",
                                                 "get worksheets(str&:Mapy)",
                                                 "get OLEObjects()",
                                                 "get Count()",
                                                 "get workbooks(str&:Mapa.xls)",
                                                 "get Windows(i2:1)",
                                                 "put WindowState=i2:3"}));
  EXPECT_EQ(view.applyStates.back(), true);
}

TEST_F(ApplyCommand, UnsavedWorkbookAsksFirstAndNoWritesNothing) {
  OpenWorkbook(false);
  messages.answers = {MessageAnswer::No};
  form->CmdAnuluj_Click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, kQuestion);
  EXPECT_EQ(messages.shown[0].kind, MessageKind::YesNoInfo);
  EXPECT_EQ(messages.shown[0].caption, std::optional<std::string>("Zmiana atrybutów linii"));
  EXPECT_FALSE(Written());
  EXPECT_TRUE(attribute->isChange);
  EXPECT_TRUE(view.applyEnabled);
  EXPECT_EQ(excel.log.size(), 4u) << "only the count and the saved state were read";
}

TEST_F(ApplyCommand, UnsavedWorkbookAndYesRefreshes) {
  OpenWorkbook(false);
  messages.answers = {MessageAnswer::Yes};
  form->CmdAnuluj_Click();
  EXPECT_TRUE(Written());
  EXPECT_NE(std::find(excel.log.begin(), excel.log.end(), "call Save()"), excel.log.end());
}

TEST_F(ApplyCommand, MissingExcelObjectIsReportedAndNothingWritten) {
  state.hostExcel.reset();
  form->CmdAnuluj_Click();
  EXPECT_FALSE(Written());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find("nie przekazał obiektu Excel"), std::string::npos);
  EXPECT_TRUE(view.applyEnabled);
}

TEST_F(ApplyCommand, LayerNameIsReadAfterTheWrite) {
  view.refreshCheck = 1;
  Choose(4);  // no record: the first layer is chosen instead
  messages.shown.clear();
  form->CmdAnuluj_Click();
  EXPECT_EQ(messages.Texts().back(),
            "Zmiana atrybutów linii warstwy \"Drogi krajowe\" została zakończona. Wprowadzone zmiany będą widoczne po "
            "utworzeniu nowej mapy, lub odświeżeniu już istniejącej.");
}

class WorkbookRefresh : public ApplyCommand {
 protected:
  // The calls of the object loop, after the windows are set.
  std::vector<std::string> ObjectLoop() const {
    auto from = std::find(excel.log.begin(), excel.log.end(), "get OLEObjects()");
    return {from, excel.log.end()};
  }
};

TEST_F(WorkbookRefresh, TwoMapObjectsSelectTheFirstInBothIterations) {
  OpenWorkbook(true, {"MSMap.8", "MSMap.8"});
  form->CmdAnuluj_Click();
  const std::vector<std::string> sheet = {"get workbooks(str&:Mapa.xls)", "get worksheets(str&:Mapy)"};
  auto with = [&](std::vector<std::string> tail) {
    std::vector<std::string> v = sheet;
    v.insert(v.end(), tail.begin(), tail.end());
    return v;
  };
  std::vector<std::string> expected = {"get OLEObjects()", "get Count()"};
  for (int i : {1, 2}) {
    const std::string index = "get OLEObjects(i2&:" + std::to_string(i) + ")";
    for (auto part : {with({index, "call Activate()"}), with({index, "get ProgId()"}),
                      with({"get OLEObjects(i2:1)", "call Select()"}),
                      with({index, "get object()", "put ScreenUpdating=bool:True"}),
                      with({"get cells(i2:1, i2:1)", "call Select()"})}) {
      expected.insert(expected.end(), part.begin(), part.end());
    }
  }
  for (auto part :
       {std::vector<std::string>{"get workbooks(str&:Mapa.xls)", "get Windows(i2:1)", "put WindowState=i2:3"}}) {
    expected.insert(expected.end(), part.begin(), part.end());
  }
  EXPECT_EQ(ObjectLoop(), expected);
  EXPECT_GE(view.pumps, 2 + 1) << "once per map object, and after the write";
}

TEST_F(WorkbookRefresh, OtherObjectsAreRefreshedWhateverTheirCase) {
  OpenWorkbook(true, {"msmap.8", "Excel.Chart.8"});
  form->CmdAnuluj_Click();
  const auto loop = ObjectLoop();
  EXPECT_EQ(std::count(loop.begin(), loop.end(), "call Refresh()"), 2);
  EXPECT_EQ(std::count(loop.begin(), loop.end(), "put ScreenUpdating=bool:True"), 0);
  EXPECT_EQ(std::count(loop.begin(), loop.end(), "call Activate()"), 2);
  // The first cell is selected before each refresh.
  const auto refresh = std::find(loop.begin(), loop.end(), "call Refresh()");
  EXPECT_EQ(*(refresh - 5), "call Select()");
  EXPECT_EQ(*(refresh - 6), "get cells(i2:1, i2:1)");
}

TEST_F(WorkbookRefresh, EveryWindowIsRestoredAndTheFirstMaximised) {
  OpenWorkbook(true, {}, 3);
  form->CmdAnuluj_Click();
  EXPECT_EQ(std::count(excel.log.begin(), excel.log.end(), "put WindowState=i2:1"), 3);
  EXPECT_EQ(excel.log.back(), "put WindowState=i2:3");
}

TEST_F(WorkbookRefresh, FailureHalfWayStopsAndIsReported) {
  OpenWorkbook(true, {"Excel.Chart.8", "MSMap.8"});
  excel.failOn = "call Refresh()";
  form->CmdAnuluj_Click();
  EXPECT_TRUE(Written());
  EXPECT_EQ(excel.log.back(), "call Refresh()") << "nothing after the failing call";
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find("Refresh"), std::string::npos) << messages.shown[0].text;
  EXPECT_NE(messages.shown[0].text.find("zostały już zapisane"), std::string::npos);
  EXPECT_TRUE(view.applyEnabled);
}

TEST_F(WorkbookRefresh, ReopenFailureLeavesTheWorkbookClosed) {
  OpenWorkbook(true);
  excel.failOn = "call Open(str&:C:\\Dane\\Mapa.xls)";
  form->CmdAnuluj_Click();
  EXPECT_TRUE(excel.open.empty());
  EXPECT_EQ(messages.shown.size(), 1u);
}

class DialogExits : public Form1Fixture {
 protected:
  void SetUp() override {
    InstallSample();
    LoadOk();
    attribute->isChange = true;
  }
};

TEST_F(DialogExits, CancelUnloadsBothDialogs) {
  form->Command1_Click();
  EXPECT_FALSE(attribute->isChange);
  EXPECT_EQ(exits.calls, (std::vector<std::string>{"UnloadPackageDialog", "UnloadMainDialog"}));
}

TEST_F(DialogExits, CancelInAFromExecStartEndsTheProcess) {
  state.fromExec = "FROM_EXEC";
  form->Command1_Click();
  EXPECT_FALSE(attribute->isChange);
  EXPECT_EQ(exits.calls, std::vector<std::string>{"EndProcess"});
}

TEST_F(DialogExits, OtherCaseOfFromExecOnlyUnloads) {
  state.fromExec = "from_exec";
  form->Command1_Click();
  EXPECT_EQ(exits.calls, (std::vector<std::string>{"UnloadPackageDialog", "UnloadMainDialog"}));
}

TEST_F(DialogExits, ChooseAnotherMapStartsOver) {
  form->CmdChange_Click();
  EXPECT_TRUE(attribute->isChange) << "untouched";
  EXPECT_EQ(exits.calls, (std::vector<std::string>{"UnloadMainDialog", "UnloadPackageDialog", "RunFormAgain"}));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DialogExits, FailingRestartIsShownNotThrown) {
  exits.runFormError = HostError{HostErrorKind::LayerCountMissing, "Konfiguracja pakietu \"B\" nie podaje liczby warstw."};
  form->CmdChange_Click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_NE(messages.shown[0].text.find("nie podaje liczby warstw"), std::string::npos);
}

TEST_F(DialogExits, TerminationUnloadsTheDialog) {
  form->Form_Terminate();
  EXPECT_EQ(exits.calls, std::vector<std::string>{"UnloadMainDialog"});
}

}  // namespace
}  // namespace atrybuty
