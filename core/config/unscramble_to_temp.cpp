#include "core/config/unscramble_to_temp.h"

#include "core/config/file_bytes.h"
#include "core/config/scramble.h"
#include "core/text/paths.h"

namespace atrybuty {

std::string UnscrambleToTemp(const std::string& sourcePath, TempFiles& temp, const TextCodec& codec) {
  if (sourcePath.empty()) return {};
  auto bytes = ReadFileBytes(PathFromAnsi(codec, sourcePath));
  // An empty configuration lists no layers; failing here gives the user the
  // configuration message instead of a later, obscure one.
  if (!bytes || bytes->empty()) return {};
  Scramble(*bytes);

  const std::string path = temp.CreateUnique(temp.Directory(), kTempCopyPrefix);
  if (path.empty()) return {};
  if (!WriteFileBytes(PathFromAnsi(codec, path), *bytes)) return {};
  return path;
}

}  // namespace atrybuty
