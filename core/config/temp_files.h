#pragma once
// The system's temporary-file services, as the configuration unscrambler
// needs them. Windows implements them with GetTempPathA/GetTempFileNameA,
// other systems with their POSIX equivalents.

#include <string>

namespace atrybuty {

class TempFiles {
 public:
  virtual ~TempFiles() = default;
  // The temporary directory, ending in a separator. Implementations fall back
  // to a fixed directory when the system names none.
  virtual std::string Directory() = 0;
  // Creates a new, empty file with a unique name beginning with `prefix` in
  // `directory` and returns its full path; empty text on failure.
  virtual std::string CreateUnique(const std::string& directory, const std::string& prefix) = 0;
};

}  // namespace atrybuty
