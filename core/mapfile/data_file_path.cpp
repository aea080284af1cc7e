#include "core/mapfile/data_file_path.h"

namespace atrybuty {

std::string WithTrailingSeparator(std::string_view dir) {
  std::string out(dir);
  if (!out.empty() && out.back() != '\\' && out.back() != '/') out.push_back('\\');
  return out;
}

std::string DataFilePath(std::string_view programFilesDir, std::string_view fileName) {
  return WithTrailingSeparator(programFilesDir) + kDataSubdirectory + std::string(fileName);
}

}  // namespace atrybuty
