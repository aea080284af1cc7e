// The server under hosts that call again while its dialog is busy or open.
// (Under Wine a host can neither keep a server's error object nor lock a
// server through its class object's proxy: those rules are tested in
// process, in run_form_test and error_info_test.)

#include "e2e/e2e_fixture.h"
#include "win32/com/error_info.h"
#include "win32/resources/resource.h"

namespace atrybuty::e2e {
namespace {

constexpr int kGranice = 2, kRowery = 4;

// A RunForm that comes while the dialog's load shows a message is refused
// as busy; the dialog goes on and the server never crashes.
TEST_F(E2E, RunFormWhileTheDialogShowsAMessageIsRefusedAsBusy) {
  auto package = samples::BundledSample();
  std::swap(package.layers[0], package.layers[kRowery]);  // the first layer has no record
  packages->Install(package, "Polska");
  packages->SetMruList("Polska");
  auto first = RunFormOnThread([](AttributeClient&) {});
  auto box = WaitForMessageBox(20s);
  ASSERT_TRUE(box);
  EXPECT_NE(box->text.find(L"Brak warstwy"), std::wstring::npos);

  auto second = RunFormOnThread([](AttributeClient&) {});
  ASSERT_EQ(second.wait_for(20s), std::future_status::ready);
  const RunFormOutcome refused = second.get();
  EXPECT_EQ(refused.hr, win32::kDialogBusy);
  EXPECT_NE(refused.description.find(L"zajęte"), std::wstring::npos);

  Answer(*box, IDOK);
  ASSERT_EQ(first.wait_for(kWait), std::future_status::ready);
  EXPECT_EQ(first.get().hr, S_OK);
  HWND form = WaitForDialog(kMainCaption);
  ASSERT_TRUE(form) << "the first start's dialog opens once its message is answered";
  EXPECT_EQ(ComboCount(form, IDC_COMBO1), 7);
  Click(form, IDCANCEL);
  EXPECT_TRUE(WaitGone(form));
}

// A second start on the package the open dialog shows keeps what the user
// did in it.
TEST_F(E2E, RunFormOnTheOpenDialogsPackageKeepsItsState) {
  InstallSample();
  AttributeClient host = AttributeClient::Create();
  ASSERT_EQ(host.RunForm(), S_OK);
  HWND form = WaitForDialog(kMainCaption);
  ASSERT_TRUE(form);
  SelectCombo(form, IDC_COMBO1, kGranice);
  ASSERT_TRUE(WaitFor([&] { return ComboSelection(form, IDC_IMGCOMBOGR) == 4; }));
  SendMessageW(GetDlgItem(form, IDC_CHKODSWIEZ), BM_SETCHECK, BST_CHECKED, 0);
  SelectCombo(form, IDC_IMGCOMBOST, 10);

  AttributeClient other = AttributeClient::Create();
  ASSERT_EQ(other.RunForm(), S_OK);
  EXPECT_EQ(WaitForDialog(kMainCaption), form) << "the same window, not a new load";
  EXPECT_EQ(ComboSelection(form, IDC_COMBO1), kGranice);
  EXPECT_EQ(ComboSelection(form, IDC_IMGCOMBOST), 10);
  EXPECT_EQ(SendMessageW(GetDlgItem(form, IDC_CHKODSWIEZ), BM_GETCHECK, 0, 0), BST_CHECKED);
  Click(form, IDCANCEL);
  EXPECT_TRUE(WaitGone(form));
}

}  // namespace
}  // namespace atrybuty::e2e
