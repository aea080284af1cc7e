#pragma once
// A minimal PNG writer (truecolour, stored deflate blocks) for screenshots.

#include <cstdint>
#include <string>
#include <vector>

namespace atrybuty::testing {

// `rgb` holds width * height pixels, top row first, 3 bytes each (R, G, B).
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace atrybuty::testing
