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
ImageListHandle MakeList(int count, Draw draw) {
  ImageListHandle list(ImageList_Create(kPictureWidth, kPictureHeight, ILC_COLOR24, count, 0));
  if (!list) return list;
  for (int k = 1; k <= count; ++k) {
    GdiObject bitmap(MakeBitmap(kPictureWidth, kPictureHeight, ToDib24(draw(k))));
    ImageList_Add(list.Get(), static_cast<HBITMAP>(bitmap.Get()), nullptr);
  }
  return list;
}

}  // namespace

ImageListHandle MakeStyleImageList() { return MakeList(kStylePictureCount, StylePicture); }
ImageListHandle MakeThicknessImageList() { return MakeList(kThicknessPictureCount, ThicknessPicture); }

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
