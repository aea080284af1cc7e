#pragma once
// Text conversions through the system's ANSI code page (CP_ACP), and between
// UTF-8 and the UTF-16 that Windows' wide APIs take.

#include <string>
#include <string_view>

#include "core/text/codec.h"

namespace atrybuty::win32 {

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
std::wstring AnsiToWide(std::string_view ansi);
std::string WideToAnsi(std::wstring_view wide);

class AnsiCodec final : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) const override { return WideToUtf8(AnsiToWide(ansi)); }
  std::string Utf8ToAnsi(std::string_view utf8) const override { return WideToAnsi(Utf8ToWide(utf8)); }
};

}  // namespace atrybuty::win32
