// The pickers' image lists and the dialog's icon as Windows objects.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "win32/dialogs/picture_lists.h"

namespace atrybuty::win32 {
namespace {

TEST(PictureLists, HoldEveryPictureAtItsSize) {
  const ImageListHandle styles = MakeStyleImageList();
  const ImageListHandle thickness = MakeThicknessImageList();
  ASSERT_TRUE(styles.Get());
  ASSERT_TRUE(thickness.Get());
  EXPECT_EQ(ImageList_GetImageCount(styles.Get()), 77);
  EXPECT_EQ(ImageList_GetImageCount(thickness.Get()), 7);
  int w = 0, h = 0;
  ImageList_GetIconSize(styles.Get(), &w, &h);
  EXPECT_EQ(w, 65);
  EXPECT_EQ(h, 9);
}

TEST(AppIcon, IsA32By32Icon) {
  const IconHandle icon = MakeAppIcon();
  ASSERT_TRUE(icon);
  ICONINFO ii{};
  ASSERT_TRUE(GetIconInfo(icon.Get(), &ii));
  EXPECT_TRUE(ii.fIcon);
  BITMAP bm{};
  GetObjectW(ii.hbmColor, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 32);
  EXPECT_EQ(bm.bmHeight, 32);
  DeleteObject(ii.hbmColor);
  DeleteObject(ii.hbmMask);
}

}  // namespace
}  // namespace atrybuty::win32
