#pragma once
// Scrambling of package configuration files.
//
// A scrambled configuration has no header: byte i (0-based) is the clear byte
// i combined by XOR with the key byte of the 1-based position i + 1, where the
// key byte of position p is (p * kScrambleMultiplier) mod 256. The key stream
// depends only on the position, so one routine scrambles and unscrambles.

#include <cstddef>
#include <cstdint>
#include <span>

namespace atrybuty {

// Fixed forever: every package ever made depends on it.
inline constexpr std::uint8_t kScrambleMultiplier = 0xB5;

constexpr std::uint8_t KeyByte(std::size_t position) {
  return static_cast<std::uint8_t>((position * kScrambleMultiplier) & 0xFF);
}

// Scrambles clear bytes or unscrambles scrambled ones, in place.
void Scramble(std::span<std::uint8_t> bytes);

}  // namespace atrybuty
