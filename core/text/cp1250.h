#pragma once
// Windows code page 1250 (Central European), the ANSI code page of Polish
// Windows, in which package makers write layer and package names.

#include <string>
#include <string_view>

namespace atrybuty {

std::string Cp1250ToUtf8(std::string_view ansi);
// Characters outside the code page become "?".
std::string Utf8ToCp1250(std::string_view utf8);

}  // namespace atrybuty
