#pragma once
// The platform's own implementations of the core's service interfaces, so the
// same tests prove them on Linux and under Wine.

#include <memory>

#include "core/config/temp_files.h"

namespace atrybuty::testing {

std::unique_ptr<TempFiles> MakePlatformTempFiles();

}  // namespace atrybuty::testing
