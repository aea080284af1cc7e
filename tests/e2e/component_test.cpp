// The automation server from a host's side: creating objects, RunForm's
// package choice and the configuration message.

#include "atrybuty_h.h"
#include "e2e/e2e_fixture.h"
#include "core/config/file_bytes.h"
#include "core/config/scramble.h"
#include "win32/resources/resource.h"

namespace atrybuty::e2e {
namespace {

TEST_F(E2E, OnePackageOpensTheMainDialogModeless) {
  InstallSample();
  AttributeClient client = AttributeClient::Create();
  ASSERT_TRUE(client.Get()) << "the class must be creatable by its ProgID";
  EXPECT_EQ(client.GetText(L"ShowNow"), L"") << "set on creation";
  client.PutBool(L"IsChange", true);
  ASSERT_EQ(client.RunForm(), S_OK) << "a workbook host's RunForm returns while the dialog stays open";
  HWND form = WaitForDialog(kMainCaption);
  ASSERT_TRUE(form);
  EXPECT_FALSE(FindDialog(kPackageCaption));
  EXPECT_FALSE(Visible(form, IDC_CMDCHANGE)) << "one package: no other map to choose";
  EXPECT_FALSE(client.GetBool(L"IsChange")) << "the dialog's load resets it";
  Click(form, IDCANCEL);
  EXPECT_TRUE(WaitGone(form));
}

// The server that ships is a 32-bit program, whatever the host's bitness.
TEST_F(E2E, TheServerRunsAsA32BitProcess) {
  AttributeClient client = AttributeClient::Create();
  ASSERT_TRUE(client.Get());
  BOOL hostWow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &hostWow64);
  const bool windows64 = sizeof(void*) == 8 || hostWow64;
  const DWORD pid = ServerProcessId();
  ASSERT_NE(pid, 0u);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  ASSERT_TRUE(process);
  BOOL serverWow64 = FALSE;
  EXPECT_TRUE(IsWow64Process(process, &serverWow64));
  CloseHandle(process);
  EXPECT_EQ(serverWow64 != FALSE, windows64) << "on 64-bit Windows a 32-bit program runs under WoW64";
}

TEST_F(E2E, TwoPackagesAreOfferedTrimmedWithTheFirstSelected) {
  packages->Install(samples::BundledSample(), "Polska");
  packages->Install(samples::BundledSample(), "Europa Zachodnia");
  packages->SetMruList("  Polska ;  Europa Zachodnia  ");
  auto outcome = RunFormOnThread([](AttributeClient&) {});
  HWND choice = WaitForDialog(kPackageCaption);
  ASSERT_TRUE(choice);
  EXPECT_EQ(ListItems(choice, IDC_WYBOR_LIST1), (std::vector<std::wstring>{L"Polska", L"Europa Zachodnia"}));
  EXPECT_EQ(ListSelection(choice, IDC_WYBOR_LIST1), 0);
  EXPECT_EQ(ItemText(choice, IDC_WYBOR_LABEL1), L"Wskaż mapę, dla której chcesz zmienić atrybuty linii.");
  EXPECT_EQ(ItemText(choice, IDOK), L"&OK");
  Click(choice, IDOK);
  HWND form = WaitForDialog(kMainCaption);
  ASSERT_TRUE(form);
  EXPECT_TRUE(Visible(form, IDC_CMDCHANGE));
  ASSERT_EQ(outcome.wait_for(kWait), std::future_status::ready);
  EXPECT_EQ(outcome.get().hr, S_OK);
  Click(form, IDCANCEL);
  EXPECT_TRUE(WaitGone(form));
}

TEST_F(E2E, EmptyLineOrClosedChoiceEndsSilently) {
  InstallSample();
  packages->SetMruList("Polska;");
  for (bool closeInstead : {false, true}) {
    auto outcome = RunFormOnThread([](AttributeClient&) {});
    HWND choice = WaitForDialog(kPackageCaption);
    ASSERT_TRUE(choice);
    EXPECT_EQ(ListItems(choice, IDC_WYBOR_LIST1), (std::vector<std::wstring>{L"Polska", L""}));
    if (closeInstead) {
      PostMessageW(choice, WM_CLOSE, 0, 0);
    } else {
      SendMessageW(GetDlgItem(choice, IDC_WYBOR_LIST1), LB_SETCURSEL, 1, 0);
      Click(choice, IDOK);
    }
    ASSERT_EQ(outcome.wait_for(kWait), std::future_status::ready);
    EXPECT_EQ(outcome.get().hr, S_OK);
    EXPECT_FALSE(OpenMessageBox()) << "no message";
    EXPECT_FALSE(FindDialogStartingWith(L"Zmiana atrybutów linii"));
    EXPECT_TRUE(WaitServerGone());
  }
}

TEST_F(E2E, MissingPackageListOrConfigurationGivesTheConfigurationMessage) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    std::wstring parent, actualMap;
  };
  const Case cases[] = {
      {"no MRUList", [&] { packages->RemoveMruList(); }, L"", L""},
      {"empty MRUList", [&] { packages->SetMruList(""); }, L"", L""},
      {"no path", [&] { packages->SetMruList("Brak"); }, L"", L""},
      {"unknown ActualMap", [&] { InstallSample(); }, L"Veltrix", L"Nieznana"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    auto outcome = RunFormOnThread([&](AttributeClient& a) {
      a.PutText(L"Parent", c.parent);
      a.PutText(L"ActualMap", c.actualMap);
    });
    auto box = WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, kConfigMessage);
    EXPECT_EQ(box->caption, L"Atrybuty") << "the application's title";
    EXPECT_EQ(box->icon, Icon::Error);
    EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
    Answer(*box, IDOK);
    ASSERT_EQ(outcome.wait_for(kWait), std::future_status::ready);
    EXPECT_EQ(outcome.get().hr, S_OK);
    EXPECT_FALSE(FindDialogStartingWith(L"Zmiana atrybutów linii"));
    EXPECT_FALSE(FindDialog(kPackageCaption));
    EXPECT_TRUE(WaitServerGone());
  }
}

TEST_F(E2E, ParentDifferingOnlyInCaseIsNoViewer) {
  InstallSample();
  packages->SetMruList("Polska;Polska");
  auto outcome = RunFormOnThread([](AttributeClient& a) { a.PutText(L"Parent", L"veltrix"); });
  HWND choice = WaitForDialog(kPackageCaption);
  ASSERT_TRUE(choice) << "the package dialog is shown as for any host";
  Click(choice, IDOK);
  HWND form = WaitForDialog(kMainCaption);
  ASSERT_TRUE(form);
  EXPECT_TRUE(Visible(form, IDC_CHKODSWIEZ));
  Click(form, IDCANCEL);
  outcome.wait();
}

TEST_F(E2E, TheAttributeIsTheObjectCreatedLast) {
  InstallSample();
  AttributeClient first = AttributeClient::Create();
  AttributeClient second = AttributeClient::Create();
  first.PutBool(L"IsChange", true);
  second.PutBool(L"IsChange", true);
  ASSERT_EQ(first.RunForm(), S_OK);
  HWND form = WaitForDialog(kMainCaption);
  ASSERT_TRUE(form);
  EXPECT_TRUE(first.GetBool(L"IsChange")) << "the caller is not TheAttribute";
  EXPECT_FALSE(second.GetBool(L"IsChange")) << "the dialog's load writes through TheAttribute";
  Click(form, IDCANCEL);
  WaitGone(form);
}

TEST_F(E2E, ASecondRunAfterUnloadListsEachPackageOnce) {
  packages->Install(samples::BundledSample(), "Polska");
  packages->SetMruList("Polska;Polska");
  AttributeClient keeper = AttributeClient::Create();  // one server process for both runs
  for (int run = 0; run < 2; ++run) {
    auto outcome = RunFormOnThread([](AttributeClient&) {});
    HWND choice = WaitForDialog(kPackageCaption);
    if (!choice && outcome.wait_for(1s) == std::future_status::ready) {
      const auto o = outcome.get();
      FAIL() << "RunForm ended with " << std::hex << o.hr << " "
             << std::string(o.description.begin(), o.description.end());
    }
    ASSERT_TRUE(choice);
    EXPECT_EQ(ListItems(choice, IDC_WYBOR_LIST1).size(), 2u);
    Click(choice, IDOK);
    HWND form = WaitForDialog(kMainCaption);
    ASSERT_TRUE(form);
    Click(form, IDCANCEL);  // unloads both dialogs
    WaitGone(form);
    outcome.wait();
  }
}

TEST_F(E2E, PropertiesRoundTripAndExcelIsShared) {
  AttributeClient a = AttributeClient::Create();
  AttributeClient b = AttributeClient::Create();
  a.PutText(L"ShowNow", L"FROM_EXEC");
  a.PutText(L"Parent", L"Veltrix");
  a.PutText(L"ActualMap", L"Żegluga śródlądowa");
  EXPECT_EQ(a.GetText(L"ShowNow"), L"FROM_EXEC");
  EXPECT_EQ(a.GetText(L"Parent"), L"Veltrix");
  EXPECT_EQ(a.GetText(L"ActualMap"), L"Żegluga śródlądowa");
  EXPECT_EQ(a.PutRef(L"Excel", Excel()), S_OK);
  EXPECT_TRUE(b.GetObject(L"Excel")) << "one Excel for the whole process";
  EXPECT_NE(a.PutText(L"Excel", L"text"), S_OK) << "an object property is set with Set";

  // Early binding: the dual interface's own slots, marshalled by the type library.
  ComPtr<_MorvalyClsAttribute> early =
      ComPtr<IDispatch>::Share(a.Get()).As<_MorvalyClsAttribute>(IID__MorvalyClsAttribute);
  ASSERT_TRUE(early);
  EXPECT_EQ(early->put_IsChange(VARIANT_TRUE), S_OK);
  VARIANT_BOOL value = VARIANT_FALSE;
  EXPECT_EQ(early->get_IsChange(&value), S_OK);
  EXPECT_EQ(value, VARIANT_TRUE);
}

TEST_F(E2E, LoadFailureReachesTheHostWithADescription) {
  auto package = samples::BundledSample();
  packages->Install(package, "Polska");
  packages->SetMruList("Polska");
  // Replace the configuration with one whose layer count is not a number.
  std::string text = "[Global]\r\nMapCount=abc\r\n";
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  Scramble(bytes);
  const std::string path = packages->ConfigDir() + "zla.cfg";
  WriteFileBytes(path, bytes);
  packages->SetPackagePath("Polska", path);

  AttributeClient client = AttributeClient::Create();
  std::wstring description;
  const HRESULT hr = client.RunForm(&description);
  EXPECT_TRUE(FAILED(hr));
  EXPECT_NE(description.find(L"\"Polska\""), std::wstring::npos) << description;
  EXPECT_NE(description.find(L"MapCount=abc"), std::wstring::npos) << description;
  EXPECT_FALSE(FindDialogStartingWith(L"Zmiana atrybutów linii")) << "the dialog is not shown";
}

}  // namespace
}  // namespace atrybuty::e2e
