#pragma once

#include <string>

#include "core/config/temp_files.h"

namespace atrybuty {

inline constexpr char kTempCopyPrefix[] = "~tm";

// Unscrambles the configuration at `sourcePath` into a new file whose name
// begins with "~tm" in the temporary directory and returns its full path.
// Returns empty text on any failure: an empty path, a missing, unreadable or
// empty (zero-length) file, or a temporary file that cannot be made. No file
// stays open. The copy is never deleted by the component.
std::string UnscrambleToTemp(const std::string& sourcePath, TempFiles& temp);

}  // namespace atrybuty
