#include "win32/dialogs/package_dialog.h"

#include "win32/dialogs/layout.h"
#include "win32/resources/resource.h"
#include "win32/text/ansi_codec.h"

namespace atrybuty::win32 {
namespace {

constexpr int kClientWidth = 4125, kClientHeight = 1530;
constexpr TwipsPlace kPlaces[] = {
    {IDC_WYBOR_LABEL1, 90, 60, 3945, 255},
    {IDC_WYBOR_LIST1, 90, 390, 3945, 645},
    {IDOK, 2880, 1140, 1155, 315},
};

}  // namespace

PackageDialogWindow::~PackageDialogWindow() { Unload(); }

void PackageDialogWindow::Load() {
  if (hwnd_) return;
  // Owned by the process's hidden window, so it has no task-bar button.
  CreateDialogParamW(dialogs_.Instance(), MAKEINTRESOURCEW(IDD_FRMWYBOR), dialogs_.OwnerWindow(), DialogProc,
                     reinterpret_cast<LPARAM>(this));
  dialogs_.OnDialogsChanged();
}

void PackageDialogWindow::Unload() {
  if (!hwnd_) return;
  DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
  values_.clear();
  font_.Reset();
  dialogs_.OnDialogsChanged();
}

void PackageDialogWindow::Clear() {
  Load();
  SendDlgItemMessageW(hwnd_, IDC_WYBOR_LIST1, LB_RESETCONTENT, 0, 0);
  values_.clear();
}

void PackageDialogWindow::AddItem(const std::string& text, const std::string& value) {
  Load();
  SendDlgItemMessageW(hwnd_, IDC_WYBOR_LIST1, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str()));
  values_.push_back(value);
}

void PackageDialogWindow::SelectIndex(int index) {
  Load();
  SendDlgItemMessageW(hwnd_, IDC_WYBOR_LIST1, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string PackageDialogWindow::ShowModalAndChoose() {
  Load();
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(GetDlgItem(hwnd_, IDC_WYBOR_LIST1));
  dialogs_.RunModalLoop([this] { return hwnd_ && IsWindowVisible(hwnd_); });
  if (!hwnd_) return {};  // closed: no choice
  const LRESULT index = SendDlgItemMessageW(hwnd_, IDC_WYBOR_LIST1, LB_GETCURSEL, 0, 0);
  return index >= 0 && static_cast<std::size_t>(index) < values_.size() ? values_[index] : std::string();
}

void PackageDialogWindow::Layout(UINT dpi) {
  SizeClientArea(hwnd_, kClientWidth, kClientHeight, dpi);
  PlaceControls(hwnd_, kPlaces, dpi);
  FontHandle font = CreateDialogFont(dpi);
  SetFontOnChildren(hwnd_, font.Get());
  font_ = std::move(font);
}

INT_PTR CALLBACK PackageDialogWindow::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    reinterpret_cast<PackageDialogWindow*>(lp)->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<PackageDialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  try {
    return self->OnMessage(msg, wp, lp);
  } catch (...) {
    return FALSE;  // nothing in here can fail but an allocation; the dialog goes on
  }
}

INT_PTR PackageDialogWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      Layout(WindowDpi(hwnd_));
      CentreOnScreen(hwnd_);
      SetForegroundWindow(hwnd_);  // Form_Load
      return TRUE;
    case WM_DPICHANGED: {
      Layout(HIWORD(wp));
      const RECT* r = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd_, nullptr, r->left, r->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK) {
        ShowWindow(hwnd_, SW_HIDE);  // the choice stays for RunForm to read
        return TRUE;
      }
      if (LOWORD(wp) == IDCANCEL) {  // Esc: as the close button
        Unload();
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      Unload();
      return TRUE;
    case WM_NCDESTROY:
      hwnd_ = nullptr;
      return FALSE;
  }
  return FALSE;
}

}  // namespace atrybuty::win32
