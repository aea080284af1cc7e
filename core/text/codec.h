#pragma once
// Conversion between the system's 8-bit ANSI text (registry values, names in
// package configurations, file names) and the UTF-8 the dialogs are given.

#include <string>
#include <string_view>

#include "core/text/cp1250.h"

namespace atrybuty {

class TextCodec {
 public:
  virtual ~TextCodec() = default;
  virtual std::string AnsiToUtf8(std::string_view ansi) const = 0;
  virtual std::string Utf8ToAnsi(std::string_view utf8) const = 0;
};

// Code page 1250, the ANSI code page of Polish Windows.
class Cp1250Codec final : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) const override { return Cp1250ToUtf8(ansi); }
  std::string Utf8ToAnsi(std::string_view utf8) const override { return Utf8ToCp1250(utf8); }
};

}  // namespace atrybuty
