#pragma once

#include <string>

#include "core/config/temp_files.h"
#include "core/text/codec.h"

namespace atrybuty {

inline constexpr char kTempCopyPrefix[] = "~tm";

// Unscrambles the configuration at `sourcePath` into a new file whose name
// begins with "~tm" in the temporary directory and returns its full path.
// Returns empty text on any failure: an empty path, a missing, unreadable or
// empty (zero-length) file, or a temporary file that cannot be made. No file
// stays open. The copy is never deleted by the component. Both paths are
// ANSI text, as the registry and the temporary-file service give them;
// `codec` turns them into the wide paths the files are opened with.
std::string UnscrambleToTemp(const std::string& sourcePath, TempFiles& temp, const TextCodec& codec);

}  // namespace atrybuty
