#pragma once
// The pickers' image lists and the dialog's icon, made from the pictures the
// core draws.

#include "win32/handles.h"

namespace atrybuty::win32 {

ImageListHandle MakeStyleImageList();      // ImageList1: the 77 style pictures
ImageListHandle MakeThicknessImageList();  // ImageList2: the 7 thickness pictures
IconHandle MakeAppIcon();

}  // namespace atrybuty::win32
