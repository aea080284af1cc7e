#pragma once
// The platform's own implementations of the core's service interfaces, so the
// same tests prove them on Linux and under Wine.

#include <memory>

#include "core/config/temp_files.h"
#include "core/mapfile/data_files.h"

namespace atrybuty::testing {

std::unique_ptr<TempFiles> MakePlatformTempFiles();
std::unique_ptr<DataFiles> MakePlatformDataFiles();

}  // namespace atrybuty::testing
