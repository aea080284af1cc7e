#pragma once
// Temporary files with GetTempPathA and GetTempFileNameA.

#include "core/config/temp_files.h"

namespace atrybuty::win32 {

class WinTempFiles final : public TempFiles {
 public:
  // "c:\" when the system names no temporary directory.
  std::string Directory() override;
  std::string CreateUnique(const std::string& directory, const std::string& prefix) override;
};

}  // namespace atrybuty::win32
