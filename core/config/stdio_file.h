#pragma once
// A C stdio file that is always closed by its owner, opened through the wide
// API on Windows.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace atrybuty {

class StdioFile {
 public:
  StdioFile(const std::filesystem::path& path, const char* mode);
  ~StdioFile();
  StdioFile(const StdioFile&) = delete;
  StdioFile& operator=(const StdioFile&) = delete;

  explicit operator bool() const { return file_ != nullptr; }

  // The file's length in bytes, or nothing when it cannot be found.
  std::optional<std::uint64_t> Size();
  bool ReadAt(std::uint64_t offset, void* data, std::size_t count);
  bool WriteAt(std::uint64_t offset, const void* data, std::size_t count);
  // Writes at the end (a file opened for appending).
  bool Append(const void* data, std::size_t count);
  // Flushes and closes; false when buffered data could not be written.
  bool Close();

 private:
  bool Seek(std::uint64_t offset);
  std::FILE* file_ = nullptr;
};

}  // namespace atrybuty
