// The line-attribute dialog as a user meets it: the layer list, the pickers,
// the colour swatch and dialog, the messages, and the keyboard.

#include <cstdlib>

#include "e2e/e2e_fixture.h"
#include "win32/resources/resource.h"

namespace atrybuty::e2e {
namespace {

constexpr int kRzeki = 1, kGranice = 2, kRowery = 4, kGaz = 5;

class Form1E2E : public E2E {
 protected:
  // Opens the dialog on `package` as an Excel macro would.
  HWND Open(const samples::SamplePackage& package = samples::BundledSample(), const std::wstring& showNow = L"") {
    packages->Install(package, "Polska");
    packages->SetMruList("Polska");
    client = AttributeClient::Create();
    client.PutText(L"ShowNow", showNow);
    if (client.RunForm() != S_OK) return nullptr;
    return WaitForDialog(kMainCaption);
  }
  // The user picks a layer; waits until the dialog has read it.
  void ChooseLayer(HWND form, int index) {
    SelectCombo(form, IDC_COMBO1, index);
    Pump(300ms);
  }
  void TearDown() override {
    client.Release();
    E2E::TearDown();
  }
  AttributeClient client{ComPtr<IDispatch>()};
};

TEST_F(Form1E2E, OpensWithEveryControlAndTheFirstLayerShown) {
  HWND form = Open();
  ASSERT_TRUE(form);
  ASSERT_EQ(ComboCount(form, IDC_COMBO1), 7);
  EXPECT_EQ(ComboItemText(form, IDC_COMBO1, 2), L"Granice województw");
  EXPECT_EQ(ComboItemText(form, IDC_COMBO1, 6), L"Żegluga śródlądowa");
  EXPECT_EQ(ComboSelection(form, IDC_COMBO1), 0);
  EXPECT_EQ(ComboCount(form, IDC_IMGCOMBOST), 77);
  EXPECT_EQ(ComboCount(form, IDC_IMGCOMBOGR), 7);
  EXPECT_EQ(ComboSelection(form, IDC_IMGCOMBOGR), 2) << "thickness 3";
  EXPECT_EQ(ComboSelection(form, IDC_IMGCOMBOST), 1) << "style 2";
  EXPECT_TRUE(ShowsColour(form, IDC_LBLCOLOR, RGB(0xFF, 0x80, 0x00))) << std::hex << ColourAt(form, IDC_LBLCOLOR);

  EXPECT_EQ(ItemText(form, IDC_FRAME1), L"Wybór warstwy");
  EXPECT_EQ(ItemText(form, IDC_FRAME2), L"Zmiana atrybutów");
  EXPECT_EQ(ItemText(form, IDC_LABEL1), L"Warstwa:");
  EXPECT_EQ(ItemText(form, IDC_LABEL2), L"Grubość linii:");
  EXPECT_EQ(ItemText(form, IDC_LABEL3), L"Styl linii:");
  EXPECT_EQ(ItemText(form, IDC_LABEL4), L"Kolor linii:");
  EXPECT_EQ(ItemText(form, IDC_CHKODSWIEZ), L"Nie odświeżaj arkusza");
  EXPECT_EQ(ItemText(form, IDC_CMDANULUJ), L"&Zastosuj");
  EXPECT_EQ(ItemText(form, IDCANCEL), L"&Anuluj");
  EXPECT_EQ(ItemText(form, IDC_CMDCHANGE), L"&Wybierz mapę");
  EXPECT_FALSE(Visible(form, IDC_CMDCHANGE));
  EXPECT_FALSE(Visible(form, IDC_TXTKOLOR));
  EXPECT_FALSE(Visible(form, IDC_TXTCOLORB));
  EXPECT_TRUE(Visible(form, IDC_CHKODSWIEZ));
  EXPECT_TRUE(Enabled(form, IDC_CHKODSWIEZ));
  EXPECT_EQ(SendDlgItemMessageW(form, IDC_CHKODSWIEZ, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  // The client area is 4875 x 2850 twips, placed in the middle of the screen.
  RECT client;
  GetClientRect(form, &client);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  if (const char* expected = std::getenv("ATRYBUTY_EXPECT_DPI")) {
    EXPECT_EQ(dpi, std::atoi(expected)) << "the screen the run was set up with";
  }
  EXPECT_EQ(client.right, MulDiv(4875, dpi, 1440));
  EXPECT_EQ(client.bottom, MulDiv(2850, dpi, 1440));
  EXPECT_TRUE(GetWindowLongPtrW(form, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "shown in the task bar";
  EXPECT_FALSE(GetWindowLongPtrW(form, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  // (The icon cannot be read from another process under Wine; the Win32 tests check it.)
}

TEST_F(Form1E2E, ChoosingALayerShowsItsLineStyle) {
  HWND form = Open();
  ASSERT_TRUE(form);
  ChooseLayer(form, kRzeki);
  EXPECT_EQ(ComboSelection(form, IDC_IMGCOMBOGR), 1);
  EXPECT_EQ(ComboSelection(form, IDC_IMGCOMBOST), 6);
  EXPECT_TRUE(ShowsColour(form, IDC_LBLCOLOR, RGB(0x00, 0x40, 0xC0)));
  ChooseLayer(form, kGranice);
  EXPECT_EQ(ComboSelection(form, IDC_IMGCOMBOGR), 4);
  EXPECT_EQ(ComboSelection(form, IDC_IMGCOMBOST), 29);
  EXPECT_TRUE(ShowsColour(form, IDC_LBLCOLOR, RGB(0x80, 0x00, 0x80)));
  EXPECT_FALSE(OpenMessageBox());
}

TEST_F(Form1E2E, LayerWithoutRecordIsNamedAndTheFirstLayerShown) {
  HWND form = Open();
  ASSERT_TRUE(form);
  ChooseLayer(form, kGranice);
  SelectCombo(form, IDC_COMBO1, kRowery);
  auto box = WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text,
            L"Brak warstwy \"Ścieżki rowerowe\". Zainstaluj ponownie pakiet lub skontaktuj się z dostawcą "
            L"oprogramowania.");
  EXPECT_EQ(box->caption, L"Atrybuty");
  EXPECT_EQ(box->icon, Icon::Information);
  EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
  Answer(*box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return ComboSelection(form, IDC_COMBO1) == 0; }));
  EXPECT_TRUE(WaitFor([&] { return ColourAt(form, IDC_LBLCOLOR) == RGB(0xFF, 0x80, 0x00); }));
}

TEST_F(Form1E2E, BadStoredValueIsReportedWithTheDialogsCaption) {
  auto package = samples::BundledSample();
  package.layers[kRzeki].style.style = 78;
  HWND form = Open(package);
  ASSERT_TRUE(form);
  SelectCombo(form, IDC_COMBO1, kRzeki);
  auto box = WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, L"Nie mogę poprawnie odczytać atrybutów pliku. Zainstaluj pakiet ponownie.");
  EXPECT_EQ(box->caption, L"Zmiana atrybutów linii");
  EXPECT_EQ(box->icon, Icon::Error);
  Answer(*box, IDOK);
  EXPECT_EQ(ComboSelection(form, IDC_IMGCOMBOGR), 2) << "the previous layer's thickness stays";
  EXPECT_TRUE(ShowsColour(form, IDC_LBLCOLOR, RGB(0xFF, 0x80, 0x00)));
}

TEST_F(Form1E2E, UnusableDataFileIsNamed) {
  HWND form = Open();
  ASSERT_TRUE(form);
  SelectCombo(form, IDC_COMBO1, kGaz);
  auto box = WaitForMessageBox();
  ASSERT_TRUE(box);
  EXPECT_NE(box->text.find(L"GAZ.DAT"), std::wstring::npos) << std::string(box->text.begin(), box->text.end());
  EXPECT_NE(box->text.find(L"za krótki"), std::wstring::npos);
  EXPECT_EQ(box->icon, Icon::Information);
  Answer(*box, IDOK);
  EXPECT_TRUE(WaitFor([&] { return ComboSelection(form, IDC_COMBO1) == 0; }));
}

TEST_F(Form1E2E, ColourDialogConfirmedAndCancelled) {
  HWND form = Open();
  ASSERT_TRUE(form);
  PostMessageW(form, WM_COMMAND, MAKEWPARAM(IDC_LBLCOLOR, STN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(form, IDC_LBLCOLOR)));
  HWND colour = WaitForColourDialog();
  ASSERT_TRUE(colour);
  ConfirmColour(colour, 255, 0, 0);
  EXPECT_TRUE(WaitFor([&] { return ColourAt(form, IDC_LBLCOLOR) == RGB(255, 0, 0); }));
  EXPECT_EQ(ItemText(form, IDC_TXTKOLOR), L"255");
  EXPECT_EQ(ItemText(form, IDC_TXTCOLORB), L"0000FF");
  EXPECT_FALSE(Visible(form, IDC_TXTKOLOR));

  PostMessageW(form, WM_COMMAND, MAKEWPARAM(IDC_LBLCOLOR, STN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(form, IDC_LBLCOLOR)));
  colour = WaitForColourDialog();
  ASSERT_TRUE(colour);
  CancelColourDialog(colour);
  Pump(200ms);
  EXPECT_TRUE(ShowsColour(form, IDC_LBLCOLOR, RGB(255, 0, 0))) << "a cancel keeps the swatch";
  EXPECT_EQ(ItemText(form, IDC_TXTCOLORB), L"0000FF");
}

TEST_F(Form1E2E, FromExecTicksAndLocksTheCheckBox) {
  HWND form = Open(samples::BundledSample(), L"FROM_EXEC");
  ASSERT_TRUE(form);
  EXPECT_EQ(SendDlgItemMessageW(form, IDC_CHKODSWIEZ, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_FALSE(Enabled(form, IDC_CHKODSWIEZ));
  PostMessageW(form, WM_CLOSE, 0, 0);  // closing from the frame only unloads, even here
  EXPECT_TRUE(WaitGone(form));
}

TEST_F(Form1E2E, TabOrderAndEsc) {
  packages->Install(samples::BundledSample(), "Polska");
  packages->SetMruList("Polska;Polska");
  auto outcome = RunFormOnThread([](AttributeClient&) {});
  HWND choice = WaitForDialog(kPackageCaption);
  ASSERT_TRUE(choice);
  PostMessageW(GetDlgItem(choice, IDC_WYBOR_LIST1), WM_KEYDOWN, VK_RETURN, 0);  // Enter presses OK
  HWND form = WaitForDialog(kMainCaption);
  ASSERT_TRUE(form);
  DWORD thread = GetWindowThreadProcessId(form, nullptr);
  auto focusId = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(thread, &info);
    HWND focus = info.hwndFocus;
    // The pickers' inner combo box takes the focus for them.
    while (focus && GetParent(focus) != form) focus = GetParent(focus);
    return focus ? GetDlgCtrlID(focus) : 0;
  };
  ASSERT_TRUE(WaitFor([&] { return focusId() == IDC_COMBO1; })) << "the first control in tab order";
  const int expected[] = {IDC_CMDANULUJ,  IDC_IMGCOMBOST, IDC_IMGCOMBOGR, IDCANCEL,
                          IDC_CHKODSWIEZ, IDC_CMDCHANGE,  IDC_COMBO1};
  for (int id : expected) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(thread, &info);
    PostMessageW(info.hwndFocus, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(WaitFor([&] { return focusId() == id; }, 2s)) << "expected control " << id << ", got " << focusId();
  }
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(thread, &info);
  PostMessageW(info.hwndFocus, WM_KEYDOWN, VK_ESCAPE, 0);  // Esc cancels
  EXPECT_TRUE(WaitGone(form));
  outcome.wait();
}

TEST_F(Form1E2E, LargestPackageOpens) {
  HWND form = Open(samples::LargePackage(32767));
  ASSERT_TRUE(form);
  EXPECT_EQ(ComboCount(form, IDC_COMBO1), 32767);
  EXPECT_EQ(ComboItemText(form, IDC_COMBO1, 32766), L"Warstwa numer 32767 złożonej mapy");
}

}  // namespace
}  // namespace atrybuty::e2e
