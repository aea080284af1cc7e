#include "win32/dialogs/layout.h"

namespace atrybuty::win32 {
namespace {

// Per-monitor DPI functions appeared in Windows 10; look them up so the
// server still starts where they are missing.
template <typename F>
F User32Function(const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace

UINT WindowDpi(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow && hwnd) {
    if (const UINT dpi = getDpiForWindow(hwnd)) return dpi;
  }
  HDC dc = GetDC(nullptr);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

void PlaceControls(HWND dialog, std::span<const TwipsPlace> places, UINT dpi) {
  HDWP batch = BeginDeferWindowPos(static_cast<int>(places.size()));
  for (const TwipsPlace& p : places) {
    HWND control = GetDlgItem(dialog, p.id);
    if (!control) continue;
    const int x = TwipsToPixels(p.left, dpi), y = TwipsToPixels(p.top, dpi);
    const int w = TwipsToPixels(p.left + p.width, dpi) - x, h = TwipsToPixels(p.top + p.height, dpi) - y;
    if (batch)
      batch = DeferWindowPos(batch, control, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    else
      SetWindowPos(control, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch) EndDeferWindowPos(batch);
}

void SizeClientArea(HWND window, int widthTwips, int heightTwips, UINT dpi) {
  RECT r{0, 0, TwipsToPixels(widthTwips, dpi), TwipsToPixels(heightTwips, dpi)};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  if (!adjustForDpi || !adjustForDpi(&r, style, FALSE, exStyle, dpi)) AdjustWindowRectEx(&r, style, FALSE, exStyle);
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CentreOnScreen(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &mi);
  const RECT& area = mi.rcWork;
  const int x = area.left + ((area.right - area.left) - (r.right - r.left)) / 2;
  const int y = area.top + ((area.bottom - area.top) - (r.bottom - r.top)) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

FontHandle CreateDialogFont(UINT dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(8, static_cast<int>(dpi), 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpyW(lf.lfFaceName, L"MS Sans Serif");
  return FontHandle(CreateFontIndirectW(&lf));
}

void SetFontOnChildren(HWND dialog, HFONT font) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

}  // namespace atrybuty::win32
