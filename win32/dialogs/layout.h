#pragma once
// Dialog layouts are given in twips (1440 to the inch) and placed in pixels
// for the DPI of the window's screen.

#include <windows.h>

#include <span>

#include "win32/handles.h"

namespace atrybuty::win32 {

struct TwipsPlace {
  int id;
  int left, top, width, height;
};

UINT WindowDpi(HWND hwnd);
int TwipsToPixels(int twips, UINT dpi);

// Places every control of `places`; each is offset by its frame's place when
// it stands inside one (VB-style frames measure from their own corner).
void PlaceControls(HWND dialog, std::span<const TwipsPlace> places, UINT dpi);
// Sizes the window so that its client area is the given size.
void SizeClientArea(HWND window, int widthTwips, int heightTwips, UINT dpi);
void CentreOnScreen(HWND window);

// The dialog font ("MS Sans Serif", 8 points) for a DPI.
FontHandle CreateDialogFont(UINT dpi);
void SetFontOnChildren(HWND dialog, HFONT font);

}  // namespace atrybuty::win32
