#pragma once

#include "core/text/codec.h"

namespace atrybuty::tool {

// The system's ANSI code page on Windows; code page 1250 elsewhere.
const TextCodec& SystemCodec();

}  // namespace atrybuty::tool
