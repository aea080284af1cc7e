#pragma once
// Data files on POSIX systems: open(2), pread and pwrite. Other writers are
// kept out with an advisory lock, which is all POSIX offers.

#include "core/mapfile/data_files.h"

namespace atrybuty {

class PosixDataFiles final : public DataFiles {
 public:
  OpenedFile OpenForReading(const std::filesystem::path& path) override;
  OpenedFile OpenForWriting(const std::filesystem::path& path) override;
  std::optional<std::filesystem::path> RealFolder(const std::filesystem::path& folder) override;
};

}  // namespace atrybuty
