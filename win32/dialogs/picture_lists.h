#pragma once
// The pickers' image lists and the dialog's icon, made from the pictures the
// core draws, and the pickers' items drawn from those lists.

#include <windows.h>

#include "win32/handles.h"

namespace atrybuty::win32 {

// The pictures for a screen of `dpi`: their exact pixels at 96 DPI, scaled
// (nearest neighbour) to MulDiv(65 x 9, dpi, 96) at any other.
ImageListHandle MakeStyleImageList(UINT dpi = 96);      // ImageList1: the 77 style pictures
ImageListHandle MakeThicknessImageList(UINT dpi = 96);  // ImageList2: the 7 thickness pictures
IconHandle MakeAppIcon();

// Draws an item of a picker (a ComboBoxEx with one of these lists) for its
// inner combo box's WM_DRAWITEM: the item's picture whole and centred in the
// item, which a ComboBoxEx would draw at the item's top left and clip.
void DrawPickerItem(HWND picker, const DRAWITEMSTRUCT& item);

}  // namespace atrybuty::win32
