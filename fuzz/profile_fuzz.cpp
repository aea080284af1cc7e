// Profile::Parse over any bytes, then lookups of the names the component asks
// for, names taken from the input itself, and a range of buffer sizes; one
// at a time and several together.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/config/profile.h"
#include "fuzz_check.h"

namespace {

using atrybuty::Profile;

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

void CheckLookup(const Profile& p, std::string_view section, std::string_view key) {
  static constexpr std::size_t kBuffers[] = {1, 2, 3, 4, 16, 144, 145, 1 << 20};
  FUZZ_CHECK(p.Get(section, key, 0).empty());
  const std::string full = p.Get(section, key, kBuffers[std::size(kBuffers) - 1]);
  for (std::size_t size : kBuffers) {
    const std::string v = p.Get(section, key, size);
    FUZZ_CHECK(v.size() < size);
    // A smaller buffer cuts the value, it never shows other text.
    FUZZ_CHECK(full.compare(0, v.size(), v) == 0);
    // Values are one line's text up to a NUL.
    FUZZ_CHECK(v.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
  }
  // Names match without regard to ASCII case.
  FUZZ_CHECK(p.Get(Upper(section), Upper(key), 144) == p.Get(section, key, 144));
  // Keys looked up together answer as each looked up alone.
  const auto together = p.FindKeys(section, {key, std::string_view("MapName"), key}, 144);
  FUZZ_CHECK(together[0] == p.Get(section, key, 144) && together[2] == together[0]);
  FUZZ_CHECK(together[1] == p.Find(section, "MapName", 144));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Profile p = Profile::Parse(text);

  // Moving keeps every view valid.
  Profile moved = Profile::Parse(text);
  const Profile q = std::move(moved);
  FUZZ_CHECK(q.SectionCount() == p.SectionCount());
  FUZZ_CHECK(p.SectionCount() <= text.size() / 2);

  static const char* const kSections[] = {"Global", "Map 1", "Map 2", " map 1 ", "", "S"};
  static const char* const kKeys[] = {"MapCount", "LayerName", "MapName", "k", ""};
  for (const char* section : kSections)
    for (const char* key : kKeys) {
      CheckLookup(p, section, key);
      FUZZ_CHECK(q.Get(section, key, 144) == p.Get(section, key, 144));
    }

  // A section and key named by the input: the text between the first "["
  // and "]", and the text before the first "=" after it.
  const std::size_t open = text.find('[');
  const std::size_t close = open == std::string_view::npos ? open : text.find(']', open);
  if (close != std::string_view::npos) {
    const std::string_view section = text.substr(open + 1, close - open - 1);
    const std::size_t eq = text.find('=', close);
    const std::size_t lineStart = text.find_last_of("\r\n", eq);
    if (eq != std::string_view::npos && lineStart != std::string_view::npos && lineStart > close)
      CheckLookup(p, section, text.substr(lineStart + 1, eq - lineStart - 1));
    else
      CheckLookup(p, section, "k");
  }
  return 0;
}
