#include "tool/system_codec.h"

#ifdef _WIN32
#include "win32/text/ansi_codec.h"
#endif

namespace atrybuty::tool {

const TextCodec& SystemCodec() {
#ifdef _WIN32
  static const win32::AnsiCodec codec;
#else
  static const Cp1250Codec codec;
#endif
  return codec;
}

}  // namespace atrybuty::tool
