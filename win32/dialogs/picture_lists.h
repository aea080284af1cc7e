#pragma once
// The pickers' image lists and the dialog's icon, made from the pictures the
// core draws.

#include <windows.h>
#include <commctrl.h>

namespace atrybuty::win32 {

// Owns an image list.
class ImageList {
 public:
  explicit ImageList(HIMAGELIST list = nullptr) : list_(list) {}
  ~ImageList() {
    if (list_) ImageList_Destroy(list_);
  }
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  HIMAGELIST Get() const { return list_; }
  void Reset(HIMAGELIST list) {
    if (list_) ImageList_Destroy(list_);
    list_ = list;
  }

 private:
  HIMAGELIST list_;
};

HIMAGELIST MakeStyleImageList();      // ImageList1: the 77 style pictures
HIMAGELIST MakeThicknessImageList();  // ImageList2: the 7 thickness pictures
HICON MakeAppIcon();

}  // namespace atrybuty::win32
