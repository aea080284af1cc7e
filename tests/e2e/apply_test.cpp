// Applying a change end to end: the data file's bytes, the roads of the
// apply command, the workbook refresh as the Excel stand-in records it, and
// the ways out of the dialog.

#include "core/config/file_bytes.h"
#include "e2e/e2e_fixture.h"
#include "win32/resources/resource.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::e2e {
namespace {

using testing::FakeWorkbook;

constexpr int kGranice = 2;
constexpr std::uint32_t kGraniceBase = 0x10000;

class ApplyE2E : public E2E {
 protected:
  void SetUp() override {
    E2E::SetUp();
    packages->Install(samples::BundledSample(), "Polska");
    packages->SetMruList("Polska");
    original = Granice();
  }
  void TearDown() override {
    client.Release();
    E2E::TearDown();
  }
  std::vector<std::uint8_t> Granice() const {
    return ReadFileBytes(packages->DataFile("GRANICE.DAT")).value_or(std::vector<std::uint8_t>{});
  }
  std::vector<std::uint8_t> Expected(std::initializer_list<std::pair<std::uint32_t, std::uint8_t>> changes) const {
    auto bytes = original;
    for (auto [at, value] : changes) bytes[kGraniceBase + at] = value;
    return bytes;
  }
  // An Excel macro's start: the object, the Excel property, RunForm.
  HWND OpenFromExcel(const std::wstring& showNow = L"") {
    client = AttributeClient::Create();
    client.PutRef(L"Excel", Excel());
    client.PutText(L"ShowNow", showNow);
    if (client.RunForm() != S_OK) return nullptr;
    return WaitForDialog(kMainCaption);
  }
  // Granice, thickness 6, style 44, colour red 0x12 green 0x34 blue 0x56.
  void ChooseChange(HWND form) {
    SelectCombo(form, IDC_COMBO1, kGranice);
    ASSERT_TRUE(WaitFor([&] { return ComboSelection(form, IDC_IMGCOMBOGR) == 4; }));
    SelectCombo(form, IDC_IMGCOMBOGR, 5);
    SelectCombo(form, IDC_IMGCOMBOST, 43);
    PostMessageW(form, WM_COMMAND, MAKEWPARAM(IDC_LBLCOLOR, STN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(form, IDC_LBLCOLOR)));
    HWND colour = WaitForColourDialog();
    ASSERT_TRUE(colour);
    ConfirmColour(colour, 0x12, 0x34, 0x56);
  }
  void OpenWorkbook(bool saved, std::vector<std::string> objects = {"MSMap.8"}) {
    FakeWorkbook book{"Mapa.xls", "C:\\Dane\\Mapa.xls", saved, 1, {{"Mapy", {}}}, 0};
    for (auto& id : objects) book.sheets[0].objects.push_back({id});
    excel.AddWorkbook(book);
  }
  bool ApplyDone(HWND form) {
    return WaitFor([&] { return Enabled(form, IDC_CMDANULUJ); });
  }

  AttributeClient client{ComPtr<IDispatch>()};
  std::vector<std::uint8_t> original;
  // What ChooseChange makes of the record.
  std::vector<std::uint8_t> Changed() const {
    return Expected({{13, 6}, {14, 44}, {16, 0x12}, {17, 0x34}, {18, 0x56}});
  }
};

TEST_F(ApplyE2E, TypicalRequestFromMacroToRefreshedWorkbook) {
  OpenWorkbook(true, {"MSMap.8", "MSMap.8"});
  HWND form = OpenFromExcel();
  ASSERT_TRUE(form);
  ChooseChange(form);
  Click(form, IDC_CMDANULUJ);
  ASSERT_TRUE(WaitFor([&] { return excel.log.size() > 4 && excel.log.back() == "put WindowState=i2:3"; }))
      << "the workbook refresh ends by setting the first window's state";
  EXPECT_TRUE(ApplyDone(form));
  EXPECT_EQ(Granice(), Changed());
  EXPECT_FALSE(OpenMessageBox()) << "a saved workbook is refreshed without a question or message";
  EXPECT_TRUE(client.GetBool(L"IsChange"));
  const std::vector<std::string> start(excel.log.begin(), excel.log.begin() + 18);
  EXPECT_EQ(start, (std::vector<std::string>{
                       "get workbooks()", "get Count()", "get activeworkbook()", "get Saved()", "get activesheet()",
                       "get Name()", "get activeworkbook()", "get FullName()", "get activeworkbook()", "call Save()",
                       "get activeworkbook()", "get Name()", "get activeworkbook()", "call Close()", "get workbooks()",
                       "call Open(str&:C:\\Dane\\Mapa.xls)", "get activeworkbook()", "get Windows()"}));
  EXPECT_EQ(std::count(excel.log.begin(), excel.log.end(), "get OLEObjects(i2:1)"), 2)
      << "the first object is selected for each map object";
  EXPECT_EQ(std::count(excel.log.begin(), excel.log.end(), "put ScreenUpdating=bool:True"), 2);
  EXPECT_EQ(std::count(excel.log.begin(), excel.log.end(), "get OLEObjects(i2&:2)"), 3);
  EXPECT_TRUE(IsWindowVisible(form)) << "the dialog stays open for the next change";
}

TEST_F(ApplyE2E, TickedCheckBoxSaysWhenTheChangeShows) {
  OpenWorkbook(true);
  HWND form = OpenFromExcel();
  ASSERT_TRUE(form);
  ChooseChange(form);
  SendMessageW(GetDlgItem(form, IDC_CHKODSWIEZ), BM_SETCHECK, BST_CHECKED, 0);
  Click(form, IDC_CMDANULUJ);
  auto box = WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text,
            L"Zmiana atrybutów linii warstwy \"Granice województw\" została zakończona. Wprowadzone zmiany będą "
            L"widoczne po utworzeniu nowej mapy, lub odświeżeniu już istniejącej.");
  EXPECT_EQ(box->caption, L"Atrybuty");
  EXPECT_EQ(box->icon, Icon::Information);
  EXPECT_EQ(Granice(), Changed()) << "written before the message";
  Answer(*box, IDOK);
  EXPECT_TRUE(excel.log.empty()) << "the workbook is untouched";
  EXPECT_TRUE(ApplyDone(form));
}

TEST_F(ApplyE2E, NoWorkbookOpenSaysTheChangeShowsOnNewMaps) {
  HWND form = OpenFromExcel();
  ASSERT_TRUE(form);
  Click(form, IDC_CMDANULUJ);
  auto box = WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text,
            L"Zmiana atrybutów linii warstwy \"Drogi krajowe\" została zakończona. Wprowadzone zmiany będą widoczne "
            L"po utworzeniu nowej mapy.");
  Answer(*box, IDOK);
  EXPECT_EQ(excel.log, (std::vector<std::string>{"get workbooks()", "get Count()"}));
}

TEST_F(ApplyE2E, UnsavedWorkbookAsksAndNoWritesNothing) {
  OpenWorkbook(false);
  HWND form = OpenFromExcel();
  ASSERT_TRUE(form);
  ChooseChange(form);
  Click(form, IDC_CMDANULUJ);
  auto box = WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text,
            L"Dane w arkuszu zostały zmienione. Aby ujrzeć zmiany należy zamknąć i ponownie otworzyć arkusz.\r"
            L"Czy zapisać i zamknąć arkusz?");
  EXPECT_EQ(box->caption, L"Zmiana atrybutów linii");
  EXPECT_EQ(box->icon, Icon::Information);
  EXPECT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(box->defaultButton, IDYES);
  EXPECT_FALSE(Enabled(form, IDC_CMDANULUJ)) << "disabled while the command runs";
  Answer(*box, IDNO);
  EXPECT_TRUE(ApplyDone(form));
  EXPECT_EQ(Granice(), original);
  EXPECT_TRUE(client.GetBool(L"IsChange"));
  EXPECT_FALSE(OpenMessageBox());
}

TEST_F(ApplyE2E, BusyExcelIsAskedAgain) {
  OpenWorkbook(true, {});
  HWND form = OpenFromExcel();
  ASSERT_TRUE(form);
  excelControl->rejectNextCalls = 3;
  Click(form, IDC_CMDANULUJ);
  ASSERT_TRUE(WaitFor([&] { return !excel.log.empty() && excel.log.back() == "put WindowState=i2:3"; }));
  EXPECT_EQ(excelControl->rejected, 3);
  EXPECT_FALSE(OpenMessageBox());
}

TEST_F(ApplyE2E, ExcelBusyForTooLongIsReported) {
  OpenWorkbook(true, {});
  HWND form = OpenFromExcel();
  ASSERT_TRUE(form);
  excelControl->rejectNextCalls = 1000000;
  Click(form, IDC_CMDANULUJ);
  auto box = WaitForMessageBox(30s);
  ASSERT_TRUE(box);
  EXPECT_NE(box->text.find(L"Excel jest zajęty"), std::wstring::npos) << win32::WideToUtf8(box->text);
  EXPECT_NE(box->text.find(L"Nic nie zostało zapisane"), std::wstring::npos) << "the count is read before any write";
  excelControl->rejectNextCalls = 0;
  Answer(*box, IDOK);
  EXPECT_TRUE(ApplyDone(form));
  EXPECT_EQ(Granice(), original);
}

TEST_F(ApplyE2E, FailingExcelCallIsReportedAndTheDialogStaysUsable) {
  OpenWorkbook(true);
  excel.failOn = "call Save()";
  HWND form = OpenFromExcel();
  ASSERT_TRUE(form);
  Click(form, IDC_CMDANULUJ);
  auto box = WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_NE(box->text.find(L"Save"), std::wstring::npos);
  EXPECT_NE(box->text.find(L"zostały już zapisane"), std::wstring::npos);
  EXPECT_EQ(box->icon, Icon::Error);
  Answer(*box, IDOK);
  EXPECT_TRUE(ApplyDone(form));
  EXPECT_EQ(excel.log.back(), "call Save()");
}

TEST_F(ApplyE2E, LockedDataFileIsNotWritten) {
  HWND form = OpenFromExcel();
  ASSERT_TRUE(form);
  ChooseChange(form);
  SendMessageW(GetDlgItem(form, IDC_CHKODSWIEZ), BM_SETCHECK, BST_CHECKED, 0);
  HANDLE lock =
      CreateFileA(packages->DataFile("GRANICE.DAT").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  Click(form, IDC_CMDANULUJ);
  auto box = WaitForMessageBox();
  CloseHandle(lock);
  ASSERT_TRUE(box);
  EXPECT_NE(box->text.find(L"GRANICE.DAT"), std::wstring::npos);
  EXPECT_NE(box->text.find(L"Nic nie zostało zapisane"), std::wstring::npos);
  Answer(*box, IDOK);
  EXPECT_TRUE(ApplyDone(form));
  EXPECT_EQ(Granice(), original);

  Click(form, IDC_CMDANULUJ);  // the lock is gone: now it works
  box = WaitForMessageBox();
  ASSERT_TRUE(box);
  Answer(*box, IDOK);
  EXPECT_EQ(Granice(), Changed());
}

TEST_F(ApplyE2E, ViewerRunFormReturnsAfterApplyWithIsChange) {
  packages->SetMruList("Polska;Inna");
  auto outcome = RunFormOnThread([](AttributeClient& a) {
    a.PutText(L"Parent", L"Veltrix");
    a.PutText(L"ActualMap", L"Polska");
  });
  HWND form = WaitForDialog(kMainCaption);
  ASSERT_TRUE(form);
  EXPECT_FALSE(Visible(form, IDC_CHKODSWIEZ));
  EXPECT_FALSE(Visible(form, IDC_CMDCHANGE));
  EXPECT_EQ(outcome.wait_for(300ms), std::future_status::timeout) << "the viewer waits while the dialog is open";
  ChooseChange(form);
  Click(form, IDC_CMDANULUJ);
  ASSERT_EQ(outcome.wait_for(kWait), std::future_status::ready);
  const RunFormOutcome o = outcome.get();
  EXPECT_EQ(o.hr, S_OK);
  EXPECT_TRUE(o.isChange);
  EXPECT_EQ(Granice(), Changed());
  EXPECT_FALSE(OpenMessageBox());
  EXPECT_FALSE(IsWindowVisible(form));
}

TEST_F(ApplyE2E, CancelInAFromExecStartEndsTheServer) {
  HWND form = OpenFromExcel(L"FROM_EXEC");
  ASSERT_TRUE(form);
  ASSERT_EQ(ServerProcessCount(), 1);
  Click(form, IDCANCEL);
  EXPECT_TRUE(WaitServerGone()) << "the process ends at once, though the host still holds the object";
  client.Release();
}

TEST_F(ApplyE2E, ChoosingAnotherMapTwiceListsEachPackageOnce) {
  packages->Install(samples::BundledSample(), "Europa");
  packages->SetMruList("Polska;Europa");
  AttributeClient keeper = AttributeClient::Create();
  auto outcome = RunFormOnThread([](AttributeClient&) {});
  HWND choice = WaitForDialog(kPackageCaption);
  ASSERT_TRUE(choice);
  Click(choice, IDOK);
  HWND form = WaitForDialog(kMainCaption);
  ASSERT_TRUE(form);
  outcome.wait();
  for (int time = 0; time < 2; ++time) {
    Click(form, IDC_CMDCHANGE);
    choice = WaitForDialog(kPackageCaption);
    ASSERT_TRUE(choice);
    EXPECT_EQ(ListItems(choice, IDC_WYBOR_LIST1), (std::vector<std::wstring>{L"Polska", L"Europa"}));
    SendMessageW(GetDlgItem(choice, IDC_WYBOR_LIST1), LB_SETCURSEL, 1, 0);
    Click(choice, IDOK);
    form = WaitForDialog(L"Zmiana atrybutów linii - Europa");
    ASSERT_TRUE(form);
  }
  Click(form, IDCANCEL);
  EXPECT_TRUE(WaitGone(form));
}

TEST_F(ApplyE2E, HostReleasingEverythingLeavesTheDialogWorking) {
  HWND form = OpenFromExcel();
  ASSERT_TRUE(form);
  client.Release();
  Pump(300ms);
  ASSERT_EQ(ServerProcessCount(), 1) << "a loaded dialog keeps the server";
  SendMessageW(GetDlgItem(form, IDC_CHKODSWIEZ), BM_SETCHECK, BST_CHECKED, 0);
  Click(form, IDC_CMDANULUJ);
  auto box = WaitForMessageBox();
  ASSERT_TRUE(box);
  Answer(*box, IDOK);
  Click(form, IDCANCEL);
  EXPECT_TRUE(WaitServerGone());
}

}  // namespace
}  // namespace atrybuty::e2e
