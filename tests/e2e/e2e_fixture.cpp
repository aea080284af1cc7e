#include "e2e/e2e_fixture.h"

namespace atrybuty::e2e {

void E2E::SetUp() { ASSERT_TRUE(WaitServerGone()) << "a server of an earlier test is still running"; }

void E2E::TearDown() {
  // Whatever the test left open is closed the way a user would close it.
  for (int round = 0; round < 20; ++round) {
    if (auto box = OpenMessageBox()) {
      Answer(*box, box->buttons.empty() ? IDOK : box->buttons.back());
      continue;
    }
    if (HWND colour = FindTopLevelColourDialog()) {
      CancelColourDialog(colour);
      continue;
    }
    HWND form = FindDialogStartingWith(L"Zmiana atrybutów linii");
    HWND choice = FindDialog(kPackageCaption);
    if (!form && !choice) break;
    if (form) PostMessageW(form, WM_CLOSE, 0, 0);
    if (choice) PostMessageW(choice, WM_CLOSE, 0, 0);
    Pump(100ms);
  }
  excelDispatch_.Reset();
  EXPECT_TRUE(WaitServerGone()) << "the server must leave once its objects and dialogs are gone";
}

void E2E::InstallSample() {
  packages->Install(samples::BundledSample(), "Polska");
  packages->SetMruList("Polska");
}

IDispatch* E2E::Excel() {
  if (!excelDispatch_) excelDispatch_ = ComPtr<IDispatch>::Adopt(MakeDispatch(excel.Application(), excelControl));
  return excelDispatch_.Get();
}

}  // namespace atrybuty::e2e
