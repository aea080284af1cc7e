#pragma once
// The application's icon, for the dialog's title bar and the component's registration.

#include <array>
#include <cstdint>
#include <vector>

namespace atrybuty {

inline constexpr int kIconSize = 32;

// The application icon: 32 x 32, drawn with the 16 standard VGA colours; row-major, top row first,
// each pixel 0xRRGGBB, plus an AND mask (true = transparent). Transparent pixels are black, as an
// icon's colour bitmap must be where the mask lets the screen through.
struct AppIcon {
  std::array<std::uint32_t, kIconSize * kIconSize> pixels{};
  std::array<bool, kIconSize * kIconSize> transparent{};
};

AppIcon MakeAppIcon();

// The icon as a Windows .ico file: one 32 x 32 image, 32 bits a pixel with its AND mask, transparent
// pixels zero. The programs' icon resource (win32/resources/atrybuty.ico) is this file, so Explorer,
// the list of apps and the dialog's title bar show one picture.
std::vector<std::uint8_t> IconFile(const AppIcon& icon);

}  // namespace atrybuty
