#pragma once
// Opening Microsoft Map data files: the one place where the data-file layer
// reaches the file system. Windows implements it with CreateFileW, other
// systems with POSIX calls, and tests wrap either to make a file fail as a
// user's Windows can (access denied, in use by another program).

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>

namespace atrybuty {

// Why a data file could not be opened.
enum class FileError {
  None,
  NotFound,      // no such file (or folder on the way)
  AccessDenied,  // the user may not (a standard user below Program Files)
  ReadOnly,      // the file's read-only attribute is set
  InUse,         // another program holds it open for writing
  NotAFile,      // a folder or a device
  Failed,        // any other reason
};

// An open data file; closing it is the owner's destruction.
class DataFile {
 public:
  virtual ~DataFile() = default;
  // The file's length in bytes, or nothing when it cannot be found.
  virtual std::optional<std::uint64_t> Size() = 0;
  virtual bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> bytes) = 0;
  virtual bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) = 0;
  // The written bytes on disk.
  virtual bool Flush() = 0;
  // Where the file really is, links and junctions resolved; nothing when
  // the system cannot say.
  virtual std::optional<std::filesystem::path> RealPath() = 0;
};

struct OpenedFile {
  std::unique_ptr<DataFile> file;  // null when the open failed
  FileError error = FileError::None;
};

class DataFiles {
 public:
  virtual ~DataFiles() = default;
  // For reading; other programs may go on reading and writing it.
  virtual OpenedFile OpenForReading(const std::filesystem::path& path) = 0;
  // For reading and writing, never created nor truncated; while it is open
  // no other program may write it.
  virtual OpenedFile OpenForWriting(const std::filesystem::path& path) = 0;
  // Where an existing folder really is, links and junctions resolved.
  virtual std::optional<std::filesystem::path> RealFolder(const std::filesystem::path& folder) = 0;
};

// Whether `path` lies inside `folder` (both real paths), compared as the
// system compares names (without regard to case on Windows).
bool IsInsideFolder(const std::filesystem::path& path, const std::filesystem::path& folder);

// `path` opened for writing and, when `allowedFolder` is given, found to lie
// really inside it (links and junctions resolved); `outside` when it does not
// (the file is then closed again).
struct FolderCheckedFile {
  OpenedFile opened;
  bool outside = false;
};
FolderCheckedFile OpenForWritingInside(DataFiles& files, const std::filesystem::path& path,
                                       const std::optional<std::filesystem::path>& allowedFolder);

}  // namespace atrybuty
