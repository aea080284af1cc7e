#include "core/mapfile/data_files.h"

#include <cwctype>

namespace atrybuty {
#ifdef _WIN32
namespace {

bool SameName(const std::filesystem::path& a, const std::filesystem::path& b) {
  // Windows matches file names without regard to case.
  const std::wstring& x = a.native();
  const std::wstring& y = b.native();
  if (x.size() != y.size()) return false;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (std::towupper(x[i]) != std::towupper(y[i])) return false;
  }
  return true;
}

}  // namespace
#endif

bool IsInsideFolder(const std::filesystem::path& path, const std::filesystem::path& folder) {
#ifndef _WIN32
  // Here "\" is no separator: a Windows folder name holding it is a prefix
  // of the names of its files (see PosixDataFiles::RealFolder).
  const std::string f = folder.string();
  const std::string p = path.string();
  const bool endsInSeparator = !f.empty() && (f.back() == '/' || f.back() == '\\');
  return p.size() > f.size() + (endsInSeparator ? 0 : 1) && p.compare(0, f.size(), f) == 0 &&
         (endsInSeparator || p[f.size()] == '/');
#else
  const std::filesystem::path p = path.lexically_normal();
  const std::filesystem::path f = folder.lexically_normal();
  auto pi = p.begin();
  for (auto fi = f.begin(); fi != f.end(); ++fi) {
    if (fi->empty()) continue;  // the empty last element of a folder ending in a separator
    if (pi == p.end() || !SameName(*pi, *fi)) return false;
    ++pi;
  }
  // Something must remain below the folder: the file itself.
  for (; pi != p.end(); ++pi) {
    if (!pi->empty()) return true;
  }
  return false;
#endif
}

FolderCheckedFile OpenForWritingInside(DataFiles& files, const std::filesystem::path& path,
                                       const std::optional<std::filesystem::path>& allowedFolder) {
  FolderCheckedFile checked{files.OpenForWriting(path), false};
  if (checked.opened.file && allowedFolder) {
    const auto real = checked.opened.file->RealPath();
    const auto folder = files.RealFolder(*allowedFolder);
    if (!real || !folder || !IsInsideFolder(*real, *folder)) {
      checked.opened.file.reset();
      checked.outside = true;
    }
  }
  return checked;
}

}  // namespace atrybuty
