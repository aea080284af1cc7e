#pragma once
// File paths from the texts that name them. Paths are wide on Windows, so
// every file is opened through the wide API whatever its name holds;
// registry values and configurations name files in the ANSI code page.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/text/codec.h"

namespace atrybuty {

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);
inline std::filesystem::path PathFromAnsi(const TextCodec& codec, std::string_view ansi) {
  return PathFromUtf8(codec.AnsiToUtf8(ansi));
}

}  // namespace atrybuty
