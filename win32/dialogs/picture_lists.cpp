#include "win32/dialogs/picture_lists.h"

#include <cstring>
#include <vector>

#include "core/form1/app_icon.h"
#include "core/form1/pictures.h"
#include "win32/handles.h"

namespace atrybuty::win32 {
namespace {

// A 24-bit bottom-up DIB section holding `bits`.
HBITMAP MakeBitmap(int width, int height, const std::vector<std::uint8_t>& bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bitmap && pixels) std::memcpy(pixels, bits.data(), bits.size());
  return bitmap;
}

template <typename Draw>
ImageListHandle MakeList(int count, Draw draw, UINT dpi) {
  const int width = MulDiv(kPictureWidth, static_cast<int>(dpi), 96);
  const int height = MulDiv(kPictureHeight, static_cast<int>(dpi), 96);
  if (width < 1 || height < 1) return ImageListHandle();
  ImageListHandle list(ImageList_Create(width, height, ILC_COLOR24, count, 0));
  if (!list) return list;
  for (int k = 1; k <= count; ++k) {
    GdiObject bitmap(MakeBitmap(width, height, ToDib24(draw(k), width, height)));
    ImageList_Add(list.Get(), static_cast<HBITMAP>(bitmap.Get()), nullptr);
  }
  return list;
}

}  // namespace

ImageListHandle MakeStyleImageList(UINT dpi) { return MakeList(kStylePictureCount, StylePicture, dpi); }
ImageListHandle MakeThicknessImageList(UINT dpi) { return MakeList(kThicknessPictureCount, ThicknessPicture, dpi); }

void DrawPickerItem(HWND picker, const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  const bool focusRect = (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT);
  if (item.itemAction == ODA_FOCUS) {
    if (!(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &r);  // toggles it
    return;
  }
  // A picture shows no selection of its own: the highlight shows around it.
  FillRect(dc, &r, GetSysColorBrush(item.itemState & ODS_SELECTED ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  HIMAGELIST pictures = reinterpret_cast<HIMAGELIST>(SendMessageW(picker, CBEM_GETIMAGELIST, 0, 0));
  COMBOBOXEXITEMW entry{};
  entry.mask = CBEIF_IMAGE;
  entry.iItem = static_cast<int>(item.itemID);
  int width = 0, height = 0;
  if (pictures && item.itemID != static_cast<UINT>(-1) &&
      SendMessageW(picker, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry)) && entry.iImage >= 0 &&
      ImageList_GetIconSize(pictures, &width, &height)) {
    ImageList_Draw(pictures, entry.iImage, dc, r.left + (r.right - r.left - width) / 2,
                   r.top + (r.bottom - r.top - height) / 2, ILD_NORMAL);
  }
  if (focusRect) DrawFocusRect(dc, &r);
}

IconHandle MakeAppIcon() {
  const AppIcon icon = atrybuty::MakeAppIcon();
  const int rowBytes = (kIconSize * 3 + 3) & ~3;
  std::vector<std::uint8_t> colour(static_cast<std::size_t>(rowBytes) * kIconSize, 0);
  // The AND mask: one bit a pixel, rows padded to 16 bits, top row first.
  const int maskRow = ((kIconSize + 15) / 16) * 2;
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(maskRow) * kIconSize, 0);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * kIconSize + x;
      std::uint8_t* p = &colour[static_cast<std::size_t>(kIconSize - 1 - y) * rowBytes + x * 3];
      p[0] = static_cast<std::uint8_t>(icon.pixels[i] & 0xFF);
      p[1] = static_cast<std::uint8_t>((icon.pixels[i] >> 8) & 0xFF);
      p[2] = static_cast<std::uint8_t>((icon.pixels[i] >> 16) & 0xFF);
      if (icon.transparent[i])
        mask[static_cast<std::size_t>(y) * maskRow + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  }
  GdiObject colourBitmap(MakeBitmap(kIconSize, kIconSize, colour));
  GdiObject maskBitmap(CreateBitmap(kIconSize, kIconSize, 1, 1, mask.data()));
  ICONINFO ii{TRUE, 0, 0, static_cast<HBITMAP>(maskBitmap.Get()), static_cast<HBITMAP>(colourBitmap.Get())};
  return IconHandle(CreateIconIndirect(&ii));
}

}  // namespace atrybuty::win32
