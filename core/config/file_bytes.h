#pragma once
// Whole-file reads and writes of raw bytes, with no handle outliving a call.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace atrybuty {

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path);

// The whole file as text (any bytes), or nothing when it cannot be read.
std::optional<std::string> ReadFileText(const std::filesystem::path& path);

// Writes bytes from the start of the file (created or truncated). False when
// the file cannot be opened or written completely.
bool WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

}  // namespace atrybuty
