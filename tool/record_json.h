#pragma once
// A line-style record as the tool shows it: one line of text, or JSON.

#include <nlohmann/json.hpp>

#include <string>

#include "core/mapfile/line_style_record.h"

namespace atrybuty::tool {

// "thickness 3, style 2, colour #FF8000", or why there is none.
std::string RecordSummary(const RecordRead& read);
// {"status": "ok", "thickness": 3, "style": 2, "colour": "#FF8000", ...}
nlohmann::json RecordJson(const RecordRead& read);

}  // namespace atrybuty::tool
