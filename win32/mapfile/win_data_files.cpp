#include "win32/mapfile/win_data_files.h"

#include <windows.h>

#include <vector>

#include "win32/handles.h"

namespace atrybuty::win32 {
namespace {

// The final path of an open handle (Vista and later), as "C:\..." when it has
// a drive letter.
std::optional<std::filesystem::path> FinalPath(HANDLE handle) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) return std::nullopt;
    if (n < buffer.size()) {
      std::wstring path(buffer.data(), n);
      if (path.starts_with(L"\\\\?\\UNC\\")) path = L"\\\\" + path.substr(8);
      else if (path.starts_with(L"\\\\?\\")) path = path.substr(4);
      return std::filesystem::path(path);
    }
    buffer.resize(n + 1);
  }
}

class WinDataFile final : public DataFile {
 public:
  explicit WinDataFile(FileHandle handle) : handle_(std::move(handle)) {}

  std::optional<std::uint64_t> Size() override {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(handle_.Get(), &size)) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
  }
  bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> bytes) override {
    OVERLAPPED at = At(offset);
    DWORD got = 0;
    return ReadFile(handle_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, &at) && got == bytes.size();
  }
  bool WriteAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
    OVERLAPPED at = At(offset);
    DWORD put = 0;
    return WriteFile(handle_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &put, &at) && put == bytes.size();
  }
  bool Flush() override { return FlushFileBuffers(handle_.Get()) != FALSE; }
  std::optional<std::filesystem::path> RealPath() override { return FinalPath(handle_.Get()); }

 private:
  static OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED o{};
    o.Offset = static_cast<DWORD>(offset);
    o.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return o;
  }
  FileHandle handle_;
};

FileError ErrorOf(DWORD error, const std::filesystem::path& path) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return FileError::NotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileError::InUse;
    case ERROR_WRITE_PROTECT:
      return FileError::ReadOnly;
    case ERROR_ACCESS_DENIED: {
      // Windows says "access denied" for a folder and for a read-only file
      // too, where no administrator could help.
      const DWORD attributes = GetFileAttributesW(path.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return FileError::NotAFile;
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return FileError::ReadOnly;
      return FileError::AccessDenied;
    }
    default:
      return FileError::Failed;
  }
}

OpenedFile Open(const std::filesystem::path& path, bool write) {
  if (path.empty()) return {nullptr, FileError::NotFound};
  FileHandle handle(CreateFileW(path.c_str(), write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                                write ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return {nullptr, ErrorOf(GetLastError(), path)};
  // A device (a name such as COM1 that got this far) is no data file.
  if (GetFileType(handle.Get()) != FILE_TYPE_DISK) return {nullptr, FileError::NotAFile};
  return {std::make_unique<WinDataFile>(std::move(handle)), FileError::None};
}

}  // namespace

OpenedFile WinDataFiles::OpenForReading(const std::filesystem::path& path) { return Open(path, false); }
OpenedFile WinDataFiles::OpenForWriting(const std::filesystem::path& path) { return Open(path, true); }

std::optional<std::filesystem::path> WinDataFiles::RealFolder(const std::filesystem::path& folder) {
  FileHandle handle(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return std::nullopt;
  return FinalPath(handle.Get());
}

}  // namespace atrybuty::win32
