#include "support/platform_services.h"

#ifdef _WIN32
#include "win32/config/win_temp_files.h"
#include "win32/mapfile/win_data_files.h"
#else
#include "core/platform/posix_data_files.h"
#include "core/platform/posix_temp_files.h"
#endif

namespace atrybuty::testing {

std::unique_ptr<TempFiles> MakePlatformTempFiles() {
#ifdef _WIN32
  return std::make_unique<win32::WinTempFiles>();
#else
  return std::make_unique<PosixTempFiles>();
#endif
}

std::unique_ptr<DataFiles> MakePlatformDataFiles() {
#ifdef _WIN32
  return std::make_unique<win32::WinDataFiles>();
#else
  return std::make_unique<PosixDataFiles>();
#endif
}

}  // namespace atrybuty::testing
