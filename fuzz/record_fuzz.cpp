// The input bytes as a data file: ReadLineStyleRecord must report exactly
// what the file holds, and PatchBytes must change only the bytes it names,
// and only when every one of them lies inside the file.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "core/mapfile/line_style_record.h"

namespace {

using namespace atrybuty;

std::string g_path;  // one temporary file per process, rewritten for each input

void RemoveFile() { std::remove(g_path.c_str()); }

void WriteFile(const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(g_path.c_str(), "wb");
  FUZZ_CHECK(f != nullptr);
  FUZZ_CHECK(size == 0 || std::fwrite(data, 1, size, f) == size);
  FUZZ_CHECK(std::fclose(f) == 0);
}

std::vector<std::uint8_t> ReadFile() {
  std::vector<std::uint8_t> bytes;
  std::FILE* f = std::fopen(g_path.c_str(), "rb");
  FUZZ_CHECK(f != nullptr);
  std::uint8_t buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(f);
  return bytes;
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
  WriteFile(data, size);
  const std::vector<std::uint8_t> before(data, data + size);
  FUZZ_CHECK(ReadFile() == before);

  const RecordRead r = ReadLineStyleRecord(g_path);
  CheckRead(before, r);
  FUZZ_CHECK(ReadFile() == before);  // reading changes nothing

  // Patches: the record's five bytes when there is a record, otherwise up to
  // five offsets taken from the input, some of them past its end.
  const std::uint8_t mode = size > 0 ? data[size - 1] : 0;
  std::vector<BytePatch> patches;
  if (r.status == RecordStatus::Ok) {
    std::uint8_t value = mode;
    for (std::uint32_t offset : OffsetsOf(r.base).All()) patches.push_back({offset, value++});
  } else {
    const std::size_t count = size / 2 < 5 ? size / 2 : 5;
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t raw = data[2 * i] | (data[2 * i + 1] << 8);
      patches.push_back({static_cast<std::uint32_t>(raw % (size + 4)), static_cast<std::uint8_t>(raw >> 3)});
    }
  }
  const bool dryRun = (mode & 1) != 0;
  const WriteResult w = PatchBytes(g_path, patches, dryRun);
  const std::vector<std::uint8_t> after = ReadFile();
  FUZZ_CHECK(after.size() == before.size());  // never extended, never cut
  FUZZ_CHECK(w.status != WriteStatus::CannotOpen && w.status != WriteStatus::IoFailed);
  FUZZ_CHECK(w.fileSize == size);

  bool allInside = true;
  for (const BytePatch& p : patches) allInside = allInside && p.offset < size;
  if (!allInside) {
    FUZZ_CHECK(w.status == WriteStatus::BeyondEnd);
    FUZZ_CHECK(after == before);
    return 0;
  }
  FUZZ_CHECK(w.status == WriteStatus::Ok);
  FUZZ_CHECK(w.oldBytes.size() == patches.size());
  std::vector<std::uint8_t> expected = before;
  for (std::size_t i = 0; i < patches.size(); ++i) {
    FUZZ_CHECK(w.oldBytes[i] == before[patches[i].offset]);
    if (!dryRun) expected[patches[i].offset] = patches[i].value;  // later patches win
  }
  FUZZ_CHECK(after == expected);

  // A written record reads back as written.
  if (r.status == RecordStatus::Ok && !dryRun) {
    const RecordRead again = ReadLineStyleRecord(g_path);
    CheckRead(after, again);
    FUZZ_CHECK(again.status == RecordStatus::Ok);
  }
  return 0;
}
