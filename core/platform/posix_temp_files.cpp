#include "core/platform/posix_temp_files.h"

#include <cstdlib>
#include <unistd.h>

#include <vector>

namespace atrybuty {

std::string PosixTempFiles::Directory() {
  const char* env = std::getenv("TMPDIR");
  std::string dir = (env && *env) ? env : "/tmp";
  if (dir.back() != '/') dir.push_back('/');
  return dir;
}

std::string PosixTempFiles::CreateUnique(const std::string& directory, const std::string& prefix) {
  std::string pattern = directory + prefix + "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) return {};
  close(fd);
  return name.data();
}

}  // namespace atrybuty
