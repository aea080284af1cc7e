#pragma once

#include <string>

#include "core/mapfile/line_style_record.h"

namespace atrybuty::tool {

// One line: "thickness 3, style 2, colour #FF8000" or why there is none.
std::string RecordSummary(const RecordRead& read);

}  // namespace atrybuty::tool
