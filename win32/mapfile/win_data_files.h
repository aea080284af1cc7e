#pragma once
// Data files through the wide Win32 API: CreateFileW, never creating,
// never truncating; a file opened for writing shares only reading.

#include "core/mapfile/data_files.h"

namespace atrybuty::win32 {

class WinDataFiles final : public DataFiles {
 public:
  OpenedFile OpenForReading(const std::filesystem::path& path) override;
  OpenedFile OpenForWriting(const std::filesystem::path& path) override;
  std::optional<std::filesystem::path> RealFolder(const std::filesystem::path& folder) override;
};

}  // namespace atrybuty::win32
