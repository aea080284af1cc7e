// UnscrambleToTemp over a configuration holding the input bytes: nothing for
// an empty file, otherwise one "~tm" copy as long as the input that scrambles
// back to it, and no other file left behind.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/config/scramble.h"
#include "core/config/unscramble_to_temp.h"
#include "core/text/codec.h"
#include "fuzz_check.h"
#include "core/platform/posix_temp_files.h"

namespace {

namespace fs = std::filesystem;

fs::path g_dir;          // private to this process, removed at exit
std::string g_source;    // the scrambled configuration, rewritten for each input
fs::path g_copies;       // TMPDIR: where the copies go

void RemoveAll() {
  std::error_code ec;
  fs::remove_all(g_dir, ec);
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  FUZZ_CHECK(f != nullptr);
  std::uint8_t buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(f);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/atrybuty-unscramble-fuzz-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  FUZZ_CHECK(mkdtemp(name.data()) != nullptr);
  g_dir = name.data();
  g_source = (g_dir / "package.cfg").string();
  g_copies = g_dir / "tmp";
  fs::create_directory(g_copies);
  std::atexit(RemoveAll);
  // PosixTempFiles puts its files in $TMPDIR.
  FUZZ_CHECK(setenv("TMPDIR", g_copies.c_str(), 1) == 0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(g_source.c_str(), "wb");
  FUZZ_CHECK(f != nullptr);
  FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, f) == size);
  FUZZ_CHECK(std::fclose(f) == 0);

  atrybuty::PosixTempFiles temp;
  const atrybuty::Cp1250Codec codec;
  const std::string copy = atrybuty::UnscrambleToTemp(g_source, temp, codec);
  if (size == 0) {
    FUZZ_CHECK(copy.empty());
  } else {
    FUZZ_CHECK(!copy.empty());
    const fs::path copyPath(copy);
    FUZZ_CHECK(copyPath.parent_path() == g_copies);
    FUZZ_CHECK(copyPath.filename().string().rfind(atrybuty::kTempCopyPrefix, 0) == 0);
    std::vector<std::uint8_t> clear = ReadFile(copy);
    FUZZ_CHECK(clear.size() == size);
    // Byte i is unscrambled with the key of position i + 1 ...
    for (std::size_t i = 0; i < size; i += 97)
      FUZZ_CHECK((clear[i] ^ data[i]) == (((i + 1) * 0xB5) & 0xFF));
    // ... and scrambling the copy again gives the input.
    atrybuty::Scramble(clear);
    FUZZ_CHECK(std::equal(clear.begin(), clear.end(), data));
    FUZZ_CHECK(fs::remove(copyPath));
  }
  // The source is left as it was, and no other file stays behind.
  FUZZ_CHECK(ReadFile(g_source) == std::vector<std::uint8_t>(data, data + size));
  FUZZ_CHECK(fs::is_empty(g_copies));
  return 0;
}
