#include "win32/dialogs/form1_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include <new>
#include <utility>

#include "win32/dialogs/form1_host.h"
#include "win32/dialogs/layout.h"
#include "win32/resources/resource.h"
#include "win32/system_message.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {
namespace {

constexpr int kClientWidth = 4875, kClientHeight = 2850;

// Places in twips; controls in a frame are measured from the frame's corner.
// The pickers are wide enough to show a whole picture (65 pixels at 96 DPI)
// centred beside their drop-down buttons.
constexpr int kFrame1Left = 90, kFrame1Top = 30, kFrame2Left = 90, kFrame2Top = 810;
constexpr TwipsPlace kPlaces[] = {
    {IDC_FRAME1, kFrame1Left, kFrame1Top, 4695, 765},
    {IDC_LABEL1, kFrame1Left + 300, kFrame1Top + 330, 825, 255},
    {IDC_COMBO1, kFrame1Left + 1230, kFrame1Top + 300, 3015, 315},
    {IDC_FRAME2, kFrame2Left, kFrame2Top, 4695, 1245},
    {IDC_LABEL4, kFrame2Left + 1290, kFrame2Top + 300, 735, 285},
    {IDC_LBLCOLOR, kFrame2Left + 2070, kFrame2Top + 270, 1365, 300},
    {IDC_LABEL2, kFrame2Left + 180, kFrame2Top + 810, 975, 285},
    {IDC_IMGCOMBOGR, kFrame2Left + 1140, kFrame2Top + 750, 1365, 330},
    {IDC_LABEL3, kFrame2Left + 2580, kFrame2Top + 810, 615, 285},
    {IDC_IMGCOMBOST, kFrame2Left + 3210, kFrame2Top + 750, 1365, 330},
    {IDC_CHKODSWIEZ, 120, 2130, 2595, 195},
    {IDC_CMDCHANGE, 150, 2400, 1305, 345},
    {IDC_CMDANULUJ, 2070, 2400, 1305, 345},
    {IDCANCEL, 3450, 2400, 1305, 345},
    // Below the client area as well as hidden: never seen.
    {IDC_TXTKOLOR, 210, 2910, 1335, 315},
    {IDC_TXTCOLORB, 1620, 2910, 975, 315},
};

// The drop-down parts of the combo boxes show this many items.
constexpr int kDropDownItems = 12;

COLORREF ToColorRef(std::uint32_t rgb) { return static_cast<COLORREF>(rgb & 0xFFFFFF); }  // same layout

}  // namespace

Form1Window::Form1Window(DialogHost& dialogs, Form1Host& host)
    : dialogs_(dialogs), host_(host), elevation_(dialogs, [this] { return hwnd_; }) {}

Form1Window::~Form1Window() { Destroy(); }

void Form1Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
}

std::optional<HostError> Form1Window::Load(const std::string& packageName) {
  if (auto failure = Create(packageName)) return failure;
  auto failure = controller_->Form_Load();
  HookControls();
  return failure;
}

std::optional<HostError> Form1Window::Create(const std::string& packageName) {
  packageName_ = packageName;
  CreateDialogParamW(dialogs_.Instance(), MAKEINTRESOURCEW(IDD_FORM1), nullptr, DialogProc,
                     reinterpret_cast<LPARAM>(this));
  if (!hwnd_) {
    return HostError{HostErrorKind::DialogFailed, "Nie mogę utworzyć okna \"Zmiana atrybutów linii\" (" +
                                                      WideToUtf8(SystemMessage(HRESULT_FROM_WIN32(GetLastError()))) +
                                                      ")."};
  }
  controller_ = std::make_unique<Form1Controller>(*this, dialogs_.ControllerServices(elevation_), packageName);
  return std::nullopt;
}

template <typename F>
void Form1Window::Run(F&& handler) {
  if (!controller_) return;
  const Form1Host::HandlerScope running(host_);
  try {
    handler(*controller_);
  } catch (const std::bad_alloc&) {
    MessageBoxW(hwnd_, L"Za mało pamięci, by dokończyć tę czynność.", L"Zmiana atrybutów linii", MB_OK | MB_ICONERROR);
  } catch (...) {
    MessageBoxW(hwnd_, L"Wystąpił nieoczekiwany błąd; czynność nie została dokończona.", L"Zmiana atrybutów linii",
                MB_OK | MB_ICONERROR);
  }
}

INT_PTR CALLBACK Form1Window::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    reinterpret_cast<Form1Window*>(lp)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    return FALSE;
  }
  try {
    return self->OnMessage(msg, wp, lp);
  } catch (...) {
    return FALSE;
  }
}

INT_PTR Form1Window::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return TRUE;
    case WM_KEYDOWN:  // the dialog itself has the focus when none of its controls has
      return wp == VK_F4 && OnColourKey(lp);
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == Item(IDC_LBLCOLOR) && swatchBrush_) {
        SetBkColor(reinterpret_cast<HDC>(wp), ToColorRef(swatch_));
        return reinterpret_cast<INT_PTR>(swatchBrush_.Get());
      }
      return FALSE;
    case WM_DPICHANGED: {
      Layout(HIWORD(wp));
      const RECT* r = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, r->left, r->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    }
    case WM_CLOSE:
      // Closing from the frame only unloads the dialog; no handler runs.
      host_.Unload();
      return TRUE;
  }
  return FALSE;
}

void Form1Window::OnInitDialog() {
  icon_ = MakeAppIcon();
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Get()));
  SetDlgItemTextW(hwnd_, IDC_TXTKOLOR, L"np: 16741680");
  SetDlgItemTextW(hwnd_, IDC_TXTCOLORB, L"np: 16741680");
  SetSwatchColour(swatch_);
  Layout(WindowDpi(hwnd_));
  CentreOnScreen(hwnd_);
}

void Form1Window::Layout(UINT dpi) {
  SizeClientArea(hwnd_, kClientWidth, kClientHeight, dpi);
  PlaceControls(hwnd_, kPlaces, dpi);
  FontHandle font = CreateDialogFont(dpi);
  SetFontOnChildren(hwnd_, font.Get());
  font_ = std::move(font);
  SetPictures(dpi);
  // A drop-down list's height includes its open list.
  const int itemHeight = TwipsToPixels(330, dpi);
  for (int id : {IDC_COMBO1, IDC_IMGCOMBOST, IDC_IMGCOMBOGR}) {
    RECT r;
    GetWindowRect(Item(id), &r);
    SetWindowPos(Item(id), nullptr, 0, 0, r.right - r.left, itemHeight * (kDropDownItems + 1),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The pickers' pictures for the window's DPI. A ComboBoxEx does not own its
// image list, so the old one goes only once the new one is set.
void Form1Window::SetPictures(UINT dpi) {
  ImageListHandle styles = MakeStyleImageList(dpi);
  ImageListHandle thickness = MakeThicknessImageList(dpi);
  SendDlgItemMessageW(hwnd_, IDC_IMGCOMBOST, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(styles.Get()));
  SendDlgItemMessageW(hwnd_, IDC_IMGCOMBOGR, CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(thickness.Get()));
  styleImages_ = std::move(styles);
  thicknessImages_ = std::move(thickness);
}

void Form1Window::Hook(HWND window) { SetWindowSubclass(window, ControlProc, 0, reinterpret_cast<DWORD_PTR>(this)); }

void Form1Window::HookControls() {
  if (!hwnd_ || hooked_) return;
  hooked_ = true;
  const auto hook = [this](HWND window) { Hook(window); };
  // The controls, and the combo boxes inside the pickers.
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    hook(child);
    for (HWND inner = GetWindow(child, GW_CHILD); inner; inner = GetWindow(inner, GW_HWNDNEXT)) hook(inner);
  }
  // A combo box's drop-down list is a window of its own, outside the dialog.
  for (HWND combo : {Item(IDC_COMBO1), InnerCombo(Item(IDC_IMGCOMBOGR)), InnerCombo(Item(IDC_IMGCOMBOST))}) {
    if (HWND list = DropDownList(combo)) hook(list);
  }
}

LRESULT CALLBACK Form1Window::ControlProc(HWND control, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
  if (msg == WM_NCDESTROY) {
    RemoveWindowSubclass(control, ControlProc, 0);
  } else {
    try {
      if (const auto result = reinterpret_cast<Form1Window*>(self)->OnControlMessage(control, msg, wp, lp)) return *result;
    } catch (...) {
      // The control handles the message as if it had not passed here.
    }
  }
  return DefSubclassProc(control, msg, wp, lp);
}

std::optional<LRESULT> Form1Window::OnControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN:
      if (wp == VK_F4 && OnColourKey(lp)) return 0;
      break;
    case WM_DRAWITEM: {
      // From a picker's inner combo box, for an item of the picker.
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item && item->CtlType == ODT_COMBOBOX &&
          (control == PickerWindow(Picker::Style) || control == PickerWindow(Picker::Thickness))) {
        DrawPickerItem(control, *item);
        return TRUE;
      }
      break;
    }
    case WM_GETOBJECT:
      if (static_cast<DWORD>(lp) == static_cast<DWORD>(OBJID_CLIENT)) {
        if (const LRESULT object = AccessibleObject(control, wp)) return object;
      }
      break;
    default:
      break;
  }
  return std::nullopt;
}

// F4 opens the colour dialog wherever the focus is, exactly as a click on
// the swatch does: the swatch cannot take the focus and no caption names a
// key, so F4 is the keyboard's way to it (the swatch's accessible object
// gives it as its shortcut). The combo boxes would open their lists with
// F4; F4 is the colour's in them too, so that it works from every control,
// and their lists still open with Alt+Down (an open list is closed first).
bool Form1Window::OnColourKey(LPARAM keyData) {
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0) return false;
  // Held down, the key repeats: one dialog a press. A key that was waiting
  // while a window of ours was modal is not for the dialog any more.
  if ((keyData & (LPARAM{1} << 30)) || !IsWindowEnabled(hwnd_)) return true;
  for (int id : {IDC_COMBO1, IDC_IMGCOMBOGR, IDC_IMGCOMBOST}) SendMessageW(Item(id), CB_SHOWDROPDOWN, FALSE, 0);
  OnSwatchClicked();
  return true;
}

void Form1Window::OnSwatchClicked() {
  Run([](Form1Controller& c) { c.LblColor_Click(); });
}

LRESULT Form1Window::AccessibleObject(HWND control, WPARAM wp) const {
  if (control == Item(IDC_LBLCOLOR)) return AnswerSwatchObject(control, wp);
  for (Picker picker : {Picker::Thickness, Picker::Style}) {
    const PickerParts parts = Parts(picker);
    HWND combo = InnerCombo(parts.picker);
    if (control == parts.picker || control == combo) return AnswerPickerObject(control, parts, wp);
    if (control == DropDownList(combo)) return AnswerPickerListObject(control, parts, wp);
  }
  return 0;
}

PickerParts Form1Window::Parts(Picker picker) const {
  // Both labels stand before both pickers in the tab order (the thickness
  // picker comes after the style picker), so the system's objects would not
  // find the thickness picker's label: each picker is named here.
  if (picker == Picker::Style) return {PickerWindow(picker), Item(IDC_LABEL3), L"Styl"};
  return {PickerWindow(picker), Item(IDC_LABEL2), L"Grubość"};
}

void Form1Window::OnCommand(int id, int code) {
  switch (id) {
    case IDC_COMBO1:
      if (code == CBN_SELCHANGE) Run([](Form1Controller& c) { c.Combo1_Click(); });
      break;
    case IDC_IMGCOMBOGR:
      if (code == CBN_SELCHANGE) Run([](Form1Controller& c) { c.ImgComboGr_Change(); });
      break;
    case IDC_IMGCOMBOST:
      if (code == CBN_SELCHANGE) Run([](Form1Controller& c) { c.ImgComboSt_Change(); });
      break;
    case IDC_LBLCOLOR:
      if (code == STN_CLICKED) OnSwatchClicked();
      break;
    case IDC_CMDANULUJ:
      if (code == BN_CLICKED) Run([](Form1Controller& c) { c.CmdAnuluj_Click(); });
      break;
    case IDCANCEL:  // "&Anuluj", and Esc
      if (code == BN_CLICKED) Run([](Form1Controller& c) { c.Command1_Click(); });
      break;
    case IDC_CMDCHANGE:
      if (code == BN_CLICKED) Run([](Form1Controller& c) { c.CmdChange_Click(); });
      break;
    default:
      break;  // Enter (IDOK) does nothing: a change is applied only on purpose
  }
}

void Form1Window::FillLayerList(const LayerTable& layers) {
  HWND combo = Item(IDC_COMBO1);
  if (!combo) return;
  // One batch and one pass: items and text storage reserved at once (no
  // ANSI name has fewer bytes than UTF-16 units), no redrawing until the
  // list is complete, and each name converted from the ANSI code page, as
  // the codec does, into one reused buffer the list copies it from. A drop-
  // down list passes CB_ADDSTRING on to its list box unchanged, so the names
  // go to the list box itself: one message a name instead of two, which
  // under Wine is some 40 % of the fill's time.
  COMBOBOXINFO parts{};
  parts.cbSize = sizeof parts;
  const bool direct = GetComboBoxInfo(combo, &parts) && parts.hwndList;
  HWND target = direct ? parts.hwndList : combo;
  const UINT add = direct ? LB_ADDSTRING : CB_ADDSTRING;
  const int count = layers.LayerCount();
  // Our subclass (for F4) would make each message a lookup of the window's
  // subclass data, which under Wine is a round trip to the server: thirty
  // times the fill's cost. The list and its combo box leave it for the batch.
  if (hooked_) {
    RemoveWindowSubclass(combo, ControlProc, 0);
    if (direct) RemoveWindowSubclass(parts.hwndList, ControlProc, 0);
  }
  SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
  SendMessageW(target, direct ? LB_INITSTORAGE : CB_INITSTORAGE, static_cast<WPARAM>(count),
               static_cast<LPARAM>((layers.nameChars + count) * sizeof(wchar_t)));
  std::wstring wide(kConfigValueBuffer, L'\0');
  for (int i = 1; i <= count; ++i) {
    const std::string& name = layers.entries[i].name;
    if (wide.size() <= name.size()) wide.resize(name.size() + 1);
    const int n = name.empty() ? 0
                               : MultiByteToWideChar(CP_ACP, 0, name.data(), static_cast<int>(name.size()), wide.data(),
                                                     static_cast<int>(wide.size()));
    wide[static_cast<std::size_t>(n)] = L'\0';
    SendMessageW(target, add, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
  if (hooked_) {
    Hook(combo);
    if (direct) Hook(parts.hwndList);
  }
  InvalidateRect(combo, nullptr, TRUE);
}

int Form1Window::LayerListCount() const {
  const LRESULT n = SendMessageW(Item(IDC_COMBO1), CB_GETCOUNT, 0, 0);
  return n > 0 ? static_cast<int>(n) : 0;
}

void Form1Window::SelectLayer(int index) { SendMessageW(Item(IDC_COMBO1), CB_SETCURSEL, index, 0); }

int Form1Window::SelectedLayerIndex() const {
  HWND combo = Item(IDC_COMBO1);
  return combo ? static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)) : -1;
}

std::string Form1Window::LayerListText() const {
  HWND combo = Item(IDC_COMBO1);
  if (!combo) return {};
  const int length = GetWindowTextLengthW(combo);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(combo, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return WideToUtf8(text);
}

HWND Form1Window::PickerWindow(Picker picker) const {
  return Item(picker == Picker::Style ? IDC_IMGCOMBOST : IDC_IMGCOMBOGR);
}

void Form1Window::AppendPickerItem(Picker picker, int picture) {
  COMBOBOXEXITEMW item{};
  item.mask = CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_TEXT;
  item.iItem = -1;
  item.iImage = item.iSelectedImage = picture - 1;
  wchar_t empty[] = L"";
  item.pszText = empty;
  SendMessageW(PickerWindow(picker), CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

int Form1Window::PickerCount(Picker picker) const {
  const LRESULT n = SendMessageW(PickerWindow(picker), CB_GETCOUNT, 0, 0);
  return n > 0 ? static_cast<int>(n) : 0;
}

void Form1Window::SelectPickerItem(Picker picker, int position) {
  SendMessageW(PickerWindow(picker), CB_SETCURSEL, static_cast<WPARAM>(position - 1), 0);
}

int Form1Window::SelectedPickerItem(Picker picker) const {
  HWND window = PickerWindow(picker);
  if (!window) return 0;
  const LRESULT index = SendMessageW(window, CB_GETCURSEL, 0, 0);
  return index >= 0 ? static_cast<int>(index) + 1 : 0;
}

void Form1Window::SetSwatchColour(std::uint32_t rgb) {
  swatch_ = rgb & 0xFFFFFF;
  swatchBrush_.Reset(CreateSolidBrush(ToColorRef(swatch_)));
  if (HWND label = Item(IDC_LBLCOLOR)) InvalidateRect(label, nullptr, TRUE);
}

void Form1Window::SetColourTexts(const std::string& decimal, const std::string& hex) {
  if (!hwnd_) return;
  SetDlgItemTextW(hwnd_, IDC_TXTKOLOR, Utf8ToWide(decimal).c_str());
  SetDlgItemTextW(hwnd_, IDC_TXTCOLORB, Utf8ToWide(hex).c_str());
}

void Form1Window::SetRefreshCheck(int value) {
  SendMessageW(Item(IDC_CHKODSWIEZ), BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

int Form1Window::RefreshCheck() const {
  return static_cast<int>(SendMessageW(Item(IDC_CHKODSWIEZ), BM_GETCHECK, 0, 0));
}

void Form1Window::EnableRefreshCheck(bool enabled) { EnableWindow(Item(IDC_CHKODSWIEZ), enabled); }

void Form1Window::ShowChangeButton(bool visible) { ShowWindow(Item(IDC_CMDCHANGE), visible ? SW_SHOW : SW_HIDE); }

void Form1Window::EnableApplyButton(bool enabled) { EnableWindow(Item(IDC_CMDANULUJ), enabled); }

std::optional<std::uint32_t> Form1Window::ChooseColour() {
  if (!hwnd_) return std::nullopt;
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = hwnd_;
  cc.rgbResult = ToColorRef(dialogColour_.value_or(swatch_));
  cc.lpCustColors = dialogs_.CustomColours();
  cc.Flags = CC_RGBINIT;
  if (!ChooseColorW(&cc)) return std::nullopt;  // cancelled or failed
  dialogColour_ = static_cast<std::uint32_t>(cc.rgbResult & 0xFFFFFF);
  return dialogColour_;
}

void Form1Window::BringToForeground() {
  if (hwnd_) SetForegroundWindow(hwnd_);
}

void Form1Window::PumpMessages() { dialogs_.PumpWaitingMessages(); }

void Form1Window::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

}  // namespace atrybuty::win32
