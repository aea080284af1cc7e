#include "core/mapfile/data_file_path.h"

#include <algorithm>
#include <array>
#include <vector>

namespace atrybuty {
namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Windows opens a device for these names whatever folder or extension goes
// with them (before Windows 11; later ones still do for most).
bool IsDeviceName(std::string_view component) {
  std::string base(component.substr(0, component.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  std::transform(base.begin(), base.end(), base.begin(), UpperAscii);
  static constexpr std::array<std::string_view, 7> kNames = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  if (std::find(kNames.begin(), kNames.end(), base) != kNames.end()) return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '0' && base[3] <= '9';
}

bool IsBadCharacter(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x20 || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*';
}

}  // namespace

std::string WithTrailingSeparator(std::string_view dir) {
  std::string out(dir);
  if (!out.empty() && out.back() != '\\' && out.back() != '/') out.push_back('\\');
  return out;
}

std::string DataDirectory(std::string_view programFilesDir) {
  return WithTrailingSeparator(programFilesDir) + kDataSubdirectory;
}

std::string DataFilePath(std::string_view programFilesDir, std::string_view fileName) {
  return DataDirectory(programFilesDir) + std::string(fileName);
}

DataFileName CheckDataFileName(std::string_view fileName) {
  if (fileName.empty() || std::any_of(fileName.begin(), fileName.end(), IsBadCharacter)) return DataFileName::NotAName;
  if (fileName.find(':') != std::string_view::npos) return DataFileName::StreamOrDrive;
  // The folders below the data directory that the name walks through; the
  // last one left is the file itself.
  std::vector<std::string_view> below;
  std::size_t start = 0;
  while (start <= fileName.size()) {
    const std::size_t end = std::min(fileName.find_first_of("\\/", start), fileName.size());
    const std::string_view component = fileName.substr(start, end - start);
    start = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      // Going up out of the data directory, even to come back into it by
      // its name, is refused: the name of the way back cannot be trusted to
      // match the folder's own.
      if (below.empty()) return DataFileName::LeavesFolder;
      below.pop_back();
      continue;
    }
    if (IsDeviceName(component)) return DataFileName::Device;
    below.push_back(component);
  }
  return below.empty() ? DataFileName::LeavesFolder : DataFileName::Ok;
}

}  // namespace atrybuty
