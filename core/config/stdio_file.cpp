#include "core/config/stdio_file.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace atrybuty {

StdioFile::StdioFile(const std::filesystem::path& path, const char* mode) {
  if (path.empty()) return;
#ifdef _WIN32
  const std::string narrow(mode);
  file_ = _wfopen(path.c_str(), std::wstring(narrow.begin(), narrow.end()).c_str());
#else
  file_ = std::fopen(path.c_str(), mode);
#endif
#ifndef _WIN32
  // Windows refuses to open a directory as a file; POSIX does not.
  struct stat st;
  if (file_ && (fstat(fileno(file_), &st) != 0 || !S_ISREG(st.st_mode))) Close();
#endif
}

StdioFile::~StdioFile() { Close(); }

bool StdioFile::Close() {
  if (!file_) return true;
  const bool ok = std::fclose(file_) == 0;
  file_ = nullptr;
  return ok;
}

bool StdioFile::Seek(std::uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(file_, static_cast<long long>(offset), SEEK_SET) == 0;
#else
  return fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::optional<std::uint64_t> StdioFile::Size() {
  if (!file_) return std::nullopt;
#ifdef _WIN32
  if (_fseeki64(file_, 0, SEEK_END) != 0) return std::nullopt;
  const long long end = _ftelli64(file_);
#else
  if (fseeko(file_, 0, SEEK_END) != 0) return std::nullopt;
  const off_t end = ftello(file_);
#endif
  if (end < 0) return std::nullopt;
  return static_cast<std::uint64_t>(end);
}

bool StdioFile::ReadAt(std::uint64_t offset, void* data, std::size_t count) {
  return file_ && Seek(offset) && std::fread(data, 1, count, file_) == count;
}

bool StdioFile::Append(const void* data, std::size_t count) {
  return file_ && std::fwrite(data, 1, count, file_) == count && std::fflush(file_) == 0;
}

bool StdioFile::WriteAt(std::uint64_t offset, const void* data, std::size_t count) {
  // Flush at once so a failing write is seen here, not at close.
  return file_ && Seek(offset) && std::fwrite(data, 1, count, file_) == count && std::fflush(file_) == 0;
}

}  // namespace atrybuty
