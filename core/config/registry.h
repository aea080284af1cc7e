#pragma once
// Read-only access to registry text values below HKEY_LOCAL_MACHINE.

#include <string>
#include <string_view>

namespace atrybuty {

inline constexpr char kAtrybutyKey[] = "Software\\KELMO\\Atrybuty";
inline constexpr char kMruListValue[] = "MRUList";
inline constexpr char kPackagePathValue[] = "path";
inline constexpr char kCurrentVersionKey[] = "Software\\Microsoft\\Windows\\CurrentVersion";
inline constexpr char kProgramFilesDirValue[] = "ProgramFilesDir";

// The registry key of one installed package.
inline std::string PackageKey(std::string_view packageName) {
  return std::string(kAtrybutyKey) + "\\" + std::string(packageName);
}

class Registry {
 public:
  virtual ~Registry() = default;
  // The value's text, cut by the size the registry reports (which counts the
  // terminating NUL; embedded NULs are kept). Empty text when the key or the
  // value is missing or cannot be read. Never shows anything.
  virtual std::string ReadRegValue(std::string_view subKey, std::string_view valueName) = 0;
};

}  // namespace atrybuty
