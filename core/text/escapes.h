#pragma once
// Fields of tab-separated lines: a tab, a line break and a backslash in a
// field are written \t, \n, \r and \\, so a field never breaks its line.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace atrybuty {

std::string EscapeField(std::string_view field);
// Nothing for a backslash that starts none of the four escapes.
std::optional<std::string> UnescapeField(std::string_view field);
// The pieces of `text` between each `separator` (empty text gives one piece).
std::vector<std::string_view> SplitAt(std::string_view text, char separator);

}  // namespace atrybuty
