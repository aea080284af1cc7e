#pragma once
// Registry text values read with RegOpenKeyExA/RegQueryValueExA/RegCloseKey.

#include <windows.h>

#include "core/config/registry.h"

namespace atrybuty::win32 {

class WinRegistry final : public Registry {
 public:
  explicit WinRegistry(HKEY root = HKEY_LOCAL_MACHINE) : root_(root) {}
  std::string ReadRegValue(std::string_view subKey, std::string_view valueName) override;

 private:
  HKEY root_;
};

}  // namespace atrybuty::win32
