#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace atrybuty {

void AppendUtf8(std::string& out, char32_t codePoint);
// Code points of UTF-8 text; a malformed byte becomes U+FFFD.
std::vector<char32_t> DecodeUtf8(std::string_view utf8);

}  // namespace atrybuty
