#pragma once
// Temporary files on POSIX systems: $TMPDIR (or /tmp/) and mkstemp.

#include "core/config/temp_files.h"

namespace atrybuty {

class PosixTempFiles final : public TempFiles {
 public:
  std::string Directory() override;
  std::string CreateUnique(const std::string& directory, const std::string& prefix) override;
};

}  // namespace atrybuty
