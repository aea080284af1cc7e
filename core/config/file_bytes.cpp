#include "core/config/file_bytes.h"

#include "core/config/stdio_file.h"

#include <exception>

namespace atrybuty {

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path) {
  StdioFile f(path, "rb");
  if (!f) return std::nullopt;
  auto size = f.Size();
  if (!size) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  try {
    bytes.resize(static_cast<std::size_t>(*size));
  } catch (const std::exception&) {  // larger than memory allows
    return std::nullopt;
  }
  if (!bytes.empty() && !f.ReadAt(0, bytes.data(), bytes.size())) return std::nullopt;
  return bytes;
}

std::optional<std::string> ReadFileText(const std::filesystem::path& path) {
  StdioFile f(path, "rb");
  if (!f) return std::nullopt;
  auto size = f.Size();
  if (!size) return std::nullopt;
  std::string text;
  try {
    text.resize(static_cast<std::size_t>(*size));
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (!text.empty() && !f.ReadAt(0, text.data(), text.size())) return std::nullopt;
  return text;
}

bool WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  StdioFile f(path, "wb");
  if (!f) return false;
  if (!bytes.empty() && !f.WriteAt(0, bytes.data(), bytes.size())) return false;
  return f.Close();
}

}  // namespace atrybuty
