#include "core/config/scramble.h"

namespace atrybuty {

void Scramble(std::span<std::uint8_t> bytes) {
  // The key repeats every 256 positions; keep the multiplication in one byte.
  std::uint8_t key = 0;
  for (auto& b : bytes) {
    key = static_cast<std::uint8_t>(key + kScrambleMultiplier);
    b ^= key;
  }
}

}  // namespace atrybuty
