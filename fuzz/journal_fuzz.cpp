// The input as a journal line: a line the parser accepts holds what the
// journal writes (a time of its form, a data file, one to five bytes at
// distinct positions), and writing it again gives a line that parses to the
// same entry. Anything else is refused without a crash.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string_view>

#include "core/mapfile/journal.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace atrybuty;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const auto entry = ParseJournalLine(line);
  if (!entry) return 0;
  FUZZ_CHECK(entry->time.size() == 20 && entry->time[10] == 'T' && entry->time.back() == 'Z');
  FUZZ_CHECK(!entry->dataFile.empty());
  FUZZ_CHECK(!entry->bytes.empty() && entry->bytes.size() <= 5);
  std::set<std::uint32_t> positions;
  for (const JournalByte& b : entry->bytes) FUZZ_CHECK(positions.insert(b.offset).second);
  const std::string again = FormatJournalLine(*entry);
  FUZZ_CHECK(again.find('\n') == std::string::npos && again.find('\r') == std::string::npos);
  FUZZ_CHECK(ParseJournalLine(again) == entry);
  return 0;
}
