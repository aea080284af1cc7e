#include "core/platform/posix_data_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace atrybuty {
namespace {

class PosixDataFile final : public DataFile {
 public:
  PosixDataFile(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
  ~PosixDataFile() override { close(fd_); }
  PosixDataFile(const PosixDataFile&) = delete;
  PosixDataFile& operator=(const PosixDataFile&) = delete;

  std::optional<std::uint64_t> Size() override {
    struct stat st;
    if (fstat(fd_, &st) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
  }
  bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> bytes) override {
    return pread(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset)) == static_cast<ssize_t>(bytes.size());
  }
  bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
    return pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset)) == static_cast<ssize_t>(bytes.size());
  }
  bool Flush() override { return fsync(fd_) == 0; }
  std::optional<std::filesystem::path> RealPath() override {
    char real[PATH_MAX];
    if (!realpath(path_.c_str(), real)) return std::nullopt;
    return std::filesystem::path(real);
  }

 private:
  int fd_;
  std::filesystem::path path_;
};

FileError ErrorOf(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return FileError::NotFound;
    case EACCES:
    case EPERM:
      return FileError::AccessDenied;
    case EROFS:
      return FileError::ReadOnly;
    case EISDIR:
      return FileError::NotAFile;
    default:
      return FileError::Failed;
  }
}

OpenedFile Open(const std::filesystem::path& path, bool write) {
  if (path.empty()) return {nullptr, FileError::NotFound};
  const int fd = open(path.c_str(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return {nullptr, ErrorOf(errno)};
  // Windows refuses to open a folder or a device as a file; POSIX does not.
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return {nullptr, FileError::NotAFile};
  }
  if (write) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (fcntl(fd, F_SETLK, &lock) != 0) {
      close(fd);
      return {nullptr, FileError::InUse};
    }
  }
  return {std::make_unique<PosixDataFile>(fd, path), FileError::None};
}

}  // namespace

OpenedFile PosixDataFiles::OpenForReading(const std::filesystem::path& path) { return Open(path, false); }
OpenedFile PosixDataFiles::OpenForWriting(const std::filesystem::path& path) { return Open(path, true); }

// The data directory's Windows name ("...\Common Files\...\Data\") is no
// folder here: its "\" are part of file names. The real path of the part up
// to the last "/" is then taken, with the rest appended as it stands.
std::optional<std::filesystem::path> PosixDataFiles::RealFolder(const std::filesystem::path& folder) {
  char real[PATH_MAX];
  if (realpath(folder.c_str(), real)) return std::filesystem::path(real) / "";
  const std::string text = folder.string();
  const std::size_t slash = text.find_last_of('/');
  if (slash == std::string::npos || !realpath(text.substr(0, slash + 1).c_str(), real)) return std::nullopt;
  return std::filesystem::path(std::string(real) + text.substr(slash));
}

}  // namespace atrybuty
