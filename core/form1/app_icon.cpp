#include "core/form1/app_icon.h"

#include <cstdlib>
#include <string_view>
#include <utility>

namespace atrybuty {
namespace {

// The standard VGA colours the icon uses; an icon of 16 colours shows the same on every display.
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kGreen = 0x008000;
constexpr std::uint32_t kSilver = 0xC0C0C0;
constexpr std::uint32_t kGrey = 0x808080;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kLime = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kYellow = 0xFFFF00;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// The map sheet; its top right corner is turned down.
constexpr int kLeft = 3, kTop = 1, kRight = 26, kBottom = 28;
constexpr int kFold = 7;

class IconCanvas {
 public:
  IconCanvas() { icon_.transparent.fill(true); }

  void Set(int x, int y, std::uint32_t colour) {
    if (x < 0 || y < 0 || x >= kIconSize || y >= kIconSize) return;
    icon_.pixels[y * kIconSize + x] = colour;
    icon_.transparent[y * kIconSize + x] = false;
  }

  void Box(int left, int top, int right, int bottom, std::uint32_t colour) {
    for (int y = top; y <= bottom; ++y) {
      for (int x = left; x <= right; ++x) Set(x, y, colour);
    }
  }

  // A straight line `thickness` pixels wide, as square dabs along the Bresenham path; `pattern` repeats along
  // the path, a blank leaving the step out.
  void Line(int x0, int y0, int x1, int y1, std::uint32_t colour, int thickness = 1, std::string_view pattern = {}) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (std::size_t step = 0;; ++step) {
      if (pattern.empty() || pattern[step % pattern.size()] != ' ') {
        Box(x0, y0, x0 + thickness - 1, y0 + thickness - 1, colour);
      }
      if (x0 == x1 && y0 == y1) break;
      const int twice = 2 * error;
      if (twice >= dy) {
        error += dy;
        x0 += sx;
      }
      if (twice <= dx) {
        error += dx;
        y0 += sy;
      }
    }
  }

  void Clear(int x, int y) {
    icon_.pixels[y * kIconSize + x] = kBlack;
    icon_.transparent[y * kIconSize + x] = true;
  }

  AppIcon Take() const { return icon_; }

 private:
  AppIcon icon_;
};

}  // namespace

AppIcon MakeAppIcon() {
  IconCanvas c;
  // The sheet on its shadow.
  c.Box(kLeft + 1, kTop + 1, kRight + 1, kBottom + 1, kGrey);
  c.Box(kLeft, kTop, kRight, kBottom, kBlack);
  c.Box(kLeft + 1, kTop + 1, kRight - 1, kBottom - 1, kWhite);

  // The map: a wood, a river, a road and a town.
  c.Box(5, 3, 10, 7, kGreen);
  for (const auto& [x, y] : {std::pair{5, 3}, {10, 3}, {5, 7}, {10, 7}}) c.Set(x, y, kWhite);
  c.Box(7, 4, 8, 5, kLime);
  c.Line(4, 12, 9, 10, kBlue, 2);
  c.Line(9, 10, 15, 13, kBlue, 2);
  c.Line(15, 13, 24, 9, kBlue, 2);
  c.Line(5, 15, 13, 5, kRed, 2);
  c.Line(13, 5, 17, 3, kRed, 2);
  c.Box(17, 7, 18, 8, kYellow);

  // The legend below it: three line styles.
  c.Line(5, 17, kRight - 2, 17, kGrey);
  c.Box(6, 19, kRight - 3, 21, kRed);
  c.Line(6, 23, kRight - 3, 23, kBlack, 1, "===  ");
  c.Line(6, 25, kRight - 3, 25, kBlue, 2, "====  =  ");

  // The turned-down corner: what lies beyond the fold is gone, and the flap shows its back.
  for (int y = kTop; y < kTop + kFold; ++y) {
    for (int x = kRight - kFold + 1; x <= kRight + 1; ++x) {
      const int beyond = (x - (kRight - kFold + 1)) - (y - kTop);
      const bool edge = beyond == 0 || x == kRight - kFold + 1 || y == kTop + kFold - 1;
      if (beyond > 0) {
        c.Clear(x, y);
      } else {
        c.Set(x, y, edge ? kBlack : kSilver);
      }
    }
  }
  return c.Take();
}

std::vector<std::uint8_t> IconFile(const AppIcon& icon) {
  std::vector<std::uint8_t> out;
  auto put = [&out](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  static_assert(kIconSize == 32, "the mask rows are written as one 32-bit word each");
  constexpr std::uint32_t kMaskStride = (kIconSize + 31) / 32 * 4;
  constexpr std::uint32_t kColourBytes = kIconSize * kIconSize * 4;
  constexpr std::uint32_t kImageBytes = 40 + kColourBytes + kMaskStride * kIconSize;
  // ICONDIR and its one ICONDIRENTRY.
  put(0, 2), put(1, 2), put(1, 2);
  put(kIconSize, 1), put(kIconSize, 1), put(0, 1), put(0, 1), put(1, 2), put(32, 2), put(kImageBytes, 4), put(22, 4);
  // BITMAPINFOHEADER: the height counts the colour rows and the mask's.
  put(40, 4), put(kIconSize, 4), put(2 * kIconSize, 4), put(1, 2), put(32, 2), put(0, 4), put(kColourBytes, 4);
  put(0, 4), put(0, 4), put(0, 4), put(0, 4);
  for (int y = kIconSize - 1; y >= 0; --y) {  // bottom-up, BGRA
    for (int x = 0; x < kIconSize; ++x) {
      const std::size_t i = static_cast<std::size_t>(y * kIconSize + x);
      put(icon.transparent[i] ? 0 : (icon.pixels[i] | 0xFF000000u), 4);
    }
  }
  for (int y = kIconSize - 1; y >= 0; --y) {
    std::uint32_t row = 0;  // first pixel in the most significant bit
    for (int x = 0; x < kIconSize; ++x) {
      if (icon.transparent[static_cast<std::size_t>(y * kIconSize + x)]) row |= 0x80000000u >> x;
    }
    for (int i = 3; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(row >> (8 * i)));
  }
  return out;
}

}  // namespace atrybuty
