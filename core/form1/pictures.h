#pragma once
// The pictures of the dialog's two picture lists: one per thickness value and
// one per style value. Picture k stands for attribute value k, so the order of
// the pictures is fixed. Every picture is drawn in pure black, red and white
// only (no anti-aliasing); its line runs along the centre row over columns
// 1..63, leaving one white column at each side.

#include <array>
#include <cstdint>
#include <vector>

namespace atrybuty {

inline constexpr int kPictureWidth = 65;
inline constexpr int kPictureHeight = 9;
inline constexpr int kThicknessPictureCount = 7;
inline constexpr int kStylePictureCount = 77;

// One picture: row-major, top row first, each pixel 0xRRGGBB. Background white (0xFFFFFF).
struct Picture {
  std::array<std::uint32_t, kPictureWidth * kPictureHeight> pixels{};
  // x in 0..kPictureWidth - 1, y in 0..kPictureHeight - 1.
  std::uint32_t At(int x, int y) const;
  friend bool operator==(const Picture&, const Picture&) = default;
};

// A black bar over columns 1..63, k = 1..7: heights 1, 2, 3, 4, 5, 6 and 8 rows.
// Any other k gives an all-white picture.
Picture ThicknessPicture(int k);
// A sample of line style k = 1..77 (1 is the letter N, "no line"). Any other k gives an all-white picture.
Picture StylePicture(int k);

// 24-bit bottom-up DIB pixel rows (BGR, each row padded to a multiple of 4 bytes), as a Windows DIB section takes them,
// of `width` x `height`: each pixel the picture's nearest its centre (the picture itself at its own size).
std::vector<std::uint8_t> ToDib24(const Picture& p, int width = kPictureWidth, int height = kPictureHeight);

}  // namespace atrybuty
