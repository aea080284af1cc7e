// The line-attribute dialog as a user meets it: the layer list, the pickers,
// the colour swatch and dialog, the messages, and the keyboard.

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/form1/pictures.h"
#include "e2e/e2e_fixture.h"
#include "win32/resources/resource.h"

namespace atrybuty::e2e {
namespace {

constexpr int kRzeki = 1, kGranice = 2, kRowery = 4, kGaz = 5;

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// The combo box inside a picker (a ComboBoxEx); it has the focus for it.
HWND InnerCombo(HWND picker) { return reinterpret_cast<HWND>(SendMessageW(picker, CBEM_GETCOMBOCONTROL, 0, 0)); }

// Where the black pixels of a picture are (inclusive bounds).
struct Box {
  int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
  bool Empty() const { return right < 0; }
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
  void Add(int x, int y) {
    left = std::min(left, x);
    right = std::max(right, x);
    top = std::min(top, y);
    bottom = std::max(bottom, y);
  }
};

Box BlackBox(const Picture& picture) {
  Box box;
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) {
      if (picture.At(x, y) == 0) box.Add(x, y);
    }
  }
  return box;
}

Box BlackBox(const std::vector<std::uint32_t>& pixels, int width) {
  Box box;
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    if ((pixels[i] & 0xFFFFFF) == 0) box.Add(static_cast<int>(i % width), static_cast<int>(i / width));
  }
  return box;
}

// A control's accessible object, as a screen reader asks for it.
ComPtr<IAccessible> AccessibleOf(HWND window) {
  ComPtr<IAccessible> object;
  AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible), object.ReceiveVoid());
  return object;
}

VARIANT Child(LONG id = CHILDID_SELF) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring NameOf(const ComPtr<IAccessible>& object, LONG child = CHILDID_SELF) {
  win32::Bstr name;
  if (!object || object->get_accName(Child(child), name.Receive()) != S_OK) return L"(no name)";
  return name.Str();
}

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

// F4 is the keyboard's way to the swatch from any control, the combo boxes
// too (where F4 would otherwise open the list).
TEST_F(Form1E2E, F4OpensTheColourDialogFromAnyControl) {
  HWND form = Open();
  ASSERT_TRUE(form);
  HWND style = GetDlgItem(form, IDC_IMGCOMBOST);
  PostMessageW(InnerCombo(style), WM_KEYDOWN, VK_F4, 1);  // the picker's focus is its inner combo box's
  HWND colour = WaitForColourDialog();
  ASSERT_TRUE(colour) << "F4 in the style picker";
  CancelColourDialog(colour);
  EXPECT_FALSE(SendMessageW(style, CB_GETDROPPEDSTATE, 0, 0)) << "F4 did not open the list as well";

  HWND layers = GetDlgItem(form, IDC_COMBO1);
  PostMessageW(layers, WM_KEYDOWN, VK_F4, 1);
  colour = WaitForColourDialog();
  ASSERT_TRUE(colour) << "F4 in the layer list";
  ConfirmColour(colour, 0, 128, 255);
  EXPECT_TRUE(ShowsColour(form, IDC_LBLCOLOR, RGB(0, 128, 255)));
  EXPECT_FALSE(SendMessageW(layers, CB_GETDROPPEDSTATE, 0, 0));
}

// A screen reader finds the swatch as "Kolor linii" with its action, and
// every picker item by the value its picture stands for.
TEST_F(Form1E2E, ScreenReadersNameTheSwatchAndEveryPickerItem) {
  HWND form = Open();
  ASSERT_TRUE(form);
  ComPtr<IAccessible> swatch = AccessibleOf(GetDlgItem(form, IDC_LBLCOLOR));
  ASSERT_TRUE(swatch);
  EXPECT_EQ(NameOf(swatch), L"Kolor linii");
  win32::Bstr action, key;
  swatch->get_accDefaultAction(Child(), action.Receive());
  swatch->get_accKeyboardShortcut(Child(), key.Receive());
  EXPECT_EQ(action.Str(), L"Zmień kolor");
  EXPECT_EQ(key.Str(), L"F4");
  EXPECT_EQ(swatch->accDoDefaultAction(Child()), S_OK);
  HWND colour = WaitForColourDialog();
  ASSERT_TRUE(colour) << "the default action opens the colour dialog";
  CancelColourDialog(colour);

  const struct {
    int id;
    std::wstring label, item;
  } pickers[] = {{IDC_IMGCOMBOGR, L"Grubość linii:", L"Grubość "}, {IDC_IMGCOMBOST, L"Styl linii:", L"Styl "}};
  for (const auto& p : pickers) {
    SCOPED_TRACE(p.id);
    HWND picker = GetDlgItem(form, p.id);
    EXPECT_EQ(NameOf(AccessibleOf(InnerCombo(picker))), p.label) << "the part that has the focus";
    ComPtr<IAccessible> object = AccessibleOf(picker);
    ASSERT_TRUE(object);
    EXPECT_EQ(NameOf(object), p.label);
    win32::Bstr value;
    object->get_accValue(Child(), value.Receive());
    EXPECT_EQ(value.Str(), p.item + std::to_wstring(ComboSelection(form, p.id) + 1));
    ComPtr<IDispatch> child;
    ASSERT_EQ(object->get_accChild(Child(1), child.Receive()), S_OK);
    ComPtr<IAccessible> list = child.As<IAccessible>(__uuidof(IAccessible));
    ASSERT_TRUE(list);
    LONG count = 0;
    list->get_accChildCount(&count);
    ASSERT_EQ(count, ComboCount(form, p.id));
    for (LONG k = 1; k <= count; ++k) EXPECT_EQ(NameOf(list, k), p.item + std::to_wstring(k));
  }
}

// Each picker shows its picture whole, centred in the item and scaled for
// the screen's DPI (the picture's own pixels at 96 DPI).
TEST_F(Form1E2E, PicturesWholeCentredAndScaledForTheScreen) {
  HWND form = Open();
  ASSERT_TRUE(form);
  const double scale = ScreenDpi() / 96.0;
  const struct {
    int id;
    Picture (*picture)(int);
  } pickers[] = {{IDC_IMGCOMBOGR, ThicknessPicture}, {IDC_IMGCOMBOST, StylePicture}};
  for (const auto& p : pickers) {
    SCOPED_TRACE(p.id);
    RECT shownArea;
    GetWindowRect(InnerCombo(GetDlgItem(form, p.id)), &shownArea);
    const int width = shownArea.right - shownArea.left, height = shownArea.bottom - shownArea.top;
    const Box picture = BlackBox(p.picture(ComboSelection(form, p.id) + 1));
    std::vector<std::uint32_t> pixels;
    Box shown;
    // Painted: the white field and the black picture both there, and the
    // same in two captures (a picker not yet drawn reads as all black).
    std::vector<std::uint32_t> previous;
    ASSERT_TRUE(WaitFor([&] {
      previous = std::move(pixels);
      pixels = ScreenArea(shownArea);
      shown = BlackBox(pixels, width);
      const bool field = std::any_of(pixels.begin(), pixels.end(), [](auto c) { return (c & 0xFFFFFF) == 0xFFFFFF; });
      return field && !shown.Empty() && pixels == previous;
    }));
    // Whole and scaled: at 96 DPI exactly the picture's, elsewhere less than
    // a pixel from it scaled.
    EXPECT_LT(std::abs(shown.Width() - picture.Width() * scale), 1.0) << shown.Width();
    EXPECT_LT(std::abs(shown.Height() - picture.Height() * scale), 1.0) << shown.Height();
    // The item is the white field about the picture, up to the frame and the
    // drop-down button: the margins about the black parts in it differ as
    // they do in the picture (scaled), and none is empty.
    const auto white = [&](int x, int y) {
      return x >= 0 && y >= 0 && x < width && y < height && (pixels[y * width + x] & 0xFFFFFF) == 0xFFFFFF;
    };
    Box field = shown;
    while (white(field.left - 1, shown.top)) --field.left;
    while (white(field.right + 1, shown.top)) ++field.right;
    const int middle = (shown.left + shown.right) / 2;
    while (white(middle, field.top - 1)) --field.top;
    while (white(middle, field.bottom + 1)) ++field.bottom;
    const int left = shown.left - field.left, right = field.right - shown.right;
    const int top = shown.top - field.top, bottom = field.bottom - shown.bottom;
    EXPECT_GT(std::min({left, right, top, bottom}), 0) << left << " " << right << " " << top << " " << bottom;
    EXPECT_NEAR(left - right, (picture.left - (kPictureWidth - 1 - picture.right)) * scale, 2.0);
    EXPECT_NEAR(top - bottom, (picture.top - (kPictureHeight - 1 - picture.bottom)) * scale, 2.0);
  }
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
