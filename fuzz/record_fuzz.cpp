// The input as a data file: ReadLineStyleRecord must report exactly what the
// file holds; WriteRecord must change exactly the record's bytes it names,
// and only when the file still holds the record it is checked against;
// UndoChange must then restore the file exactly. No file ever grows or shrinks.
//
// An input whose first byte is 0xFF describes a file instead of being one:
// PL and PH from the next two bytes (PH up to 15, so records up to 1 MiB out,
// beyond what the pointer's low byte alone reaches), the rest written from
// the record's thickness byte on, zeros elsewhere.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/mapfile/line_style_record.h"
#include "core/mapfile/record_undo.h"
#include "core/mapfile/record_write.h"
#include "core/platform/posix_data_files.h"
#include "fuzz_check.h"

namespace {

using namespace atrybuty;

std::string g_path;  // one temporary file per process, rewritten for each input

class MemoryJournal final : public Journal {
 public:
  std::vector<JournalEntry> entries;
  bool Append(const JournalEntry& e) override {
    entries.push_back(e);
    return true;
  }
  std::string Location() const override { return "memory"; }
};

void RemoveFile() { std::remove(g_path.c_str()); }

void WriteFile(const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(g_path.c_str(), "wb");
  FUZZ_CHECK(f != nullptr);
  FUZZ_CHECK(bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
  FUZZ_CHECK(std::fclose(f) == 0);
}

std::vector<std::uint8_t> ReadFile() {
  std::vector<std::uint8_t> bytes;
  std::FILE* f = std::fopen(g_path.c_str(), "rb");
  FUZZ_CHECK(f != nullptr);
  std::uint8_t buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(f);
  return bytes;
}

std::vector<std::uint8_t> FileOf(const std::uint8_t* data, std::size_t size) {
  if (size < 3 || data[0] != 0xFF) return {data, data + size};
  const std::uint8_t pl = data[1], ph = data[2] & 0x0F;
  const std::uint32_t base = RecordBase(pl, ph);
  const std::size_t rest = size - 3;
  std::vector<std::uint8_t> file(std::max<std::size_t>(kPointerHighOffset + 1, base + kThicknessOffset + rest), 0);
  file[kPointerLowOffset] = pl;
  file[kPointerHighOffset] = ph;
  for (std::size_t i = 0; i < rest && base + kThicknessOffset + i < file.size(); ++i)
    file[base + kThicknessOffset + i] = data[3 + i];
  return file;
}

void CheckRead(const std::vector<std::uint8_t>& file, const RecordRead& r) {
  FUZZ_CHECK(r.status != RecordStatus::CannotOpen && r.status != RecordStatus::ReadFailed);
  FUZZ_CHECK(r.fileSize == file.size());
  if (file.size() <= kPointerHighOffset) {
    FUZZ_CHECK(r.status == RecordStatus::TooShortForPointer);
    FUZZ_CHECK(r.base == 0 && r.pointerLow == 0 && r.pointerHigh == 0);
    FUZZ_CHECK(r.style == LineStyle{});
    return;
  }
  FUZZ_CHECK(r.pointerLow == file[kPointerLowOffset] && r.pointerHigh == file[kPointerHighOffset]);
  FUZZ_CHECK(r.base == 65536u * r.pointerHigh + 256u * r.pointerLow);
  if (r.base == 0) {
    FUZZ_CHECK(r.status == RecordStatus::NoRecord);
    FUZZ_CHECK(r.style == LineStyle{});
    return;
  }
  const RecordOffsets at = OffsetsOf(r.base);
  if (at.blue >= file.size()) {
    FUZZ_CHECK(r.status == RecordStatus::TooShortForRecord);
    FUZZ_CHECK(r.style == LineStyle{});
    return;
  }
  FUZZ_CHECK(r.status == RecordStatus::Ok);
  FUZZ_CHECK(r.style.thickness == file[at.thickness] && r.style.style == file[at.style]);
  FUZZ_CHECK(r.style.colour.red == file[at.red] && r.style.colour.green == file[at.green] &&
             r.style.colour.blue == file[at.blue]);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* dir = std::getenv("TMPDIR");
  std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/atrybuty-record-fuzz-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  FUZZ_CHECK(fd >= 0);
  close(fd);
  g_path = name.data();
  std::atexit(RemoveFile);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> before = FileOf(data, size);
  WriteFile(before);
  PosixDataFiles files;

  const RecordRead r = ReadLineStyleRecord(files, g_path);
  CheckRead(before, r);
  FUZZ_CHECK(ReadFile() == before);  // reading changes nothing

  // A change from the input's last bytes, checked against the record the
  // read found, or against a snapshot one byte off (another program's write).
  const std::uint8_t mode = size > 0 ? data[size - 1] : 0;
  const std::uint8_t seed = size > 1 ? data[size - 2] : 0;
  RecordChange change{static_cast<std::uint8_t>(seed + 1), static_cast<std::uint8_t>(seed + 2), std::nullopt};
  if (mode & 1) change.colour = RgbBytes{seed, static_cast<std::uint8_t>(seed ^ 0x55), mode};
  RecordSnapshot snapshot{g_path, r.base == 0 ? 0x500u : r.base, r.style};
  const bool stale = (mode & 2) != 0;
  if (stale) snapshot.style.thickness ^= 1;

  MemoryJournal journal;
  const RecordWriteResult w = WriteRecord(files, snapshot, change, journal, {"p", "l"}, std::nullopt);
  const std::vector<std::uint8_t> after = ReadFile();
  FUZZ_CHECK(after.size() == before.size());  // never extended, never cut
  if (r.status != RecordStatus::Ok || stale) {
    FUZZ_CHECK(w.status != RecordWriteStatus::Written);
    FUZZ_CHECK(after == before);
    FUZZ_CHECK(journal.entries.empty());
    return 0;
  }
  FUZZ_CHECK(w.status == RecordWriteStatus::Written);
  std::vector<std::uint8_t> expected = before;
  const RecordOffsets at = OffsetsOf(r.base);
  expected[at.thickness] = change.thickness;
  expected[at.style] = change.style;
  if (change.colour) {
    expected[at.red] = change.colour->red;
    expected[at.green] = change.colour->green;
    expected[at.blue] = change.colour->blue;
  }
  FUZZ_CHECK(after == expected);
  FUZZ_CHECK(journal.entries.size() == 1 && journal.entries[0].bytes.size() == 5);

  // The journal line undoes the change exactly.
  const UndoResult u = UndoChange(files, journal.entries[0], g_path, std::nullopt, journal);
  FUZZ_CHECK(u.status == UndoStatus::Restored || (u.status == UndoStatus::AlreadyRestored && after == before));
  FUZZ_CHECK(ReadFile() == before);
  return 0;
}
