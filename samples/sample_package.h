#pragma once
// Synthetic map packages made by the project's own code: a clear and a
// scrambled configuration and Microsoft Map data files whose line-style
// records lie where the test or the demo needs them. Every byte outside the
// header pointer and the record follows a fixed pattern, so a stray write is
// seen by comparing whole files.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/mapfile/line_style_record.h"

namespace atrybuty::samples {

struct SampleLayer {
  std::string name;            // ANSI (code page 1250)
  std::string fileName;        // data file name
  std::uint32_t base = 0;      // record base; 0 writes zero pointer bytes
  std::uint64_t fileSize = 0;  // 0: just long enough for the record
  LineStyle style;
};

struct SamplePackage {
  std::string name;  // ANSI
  std::vector<SampleLayer> layers;
};

// The package bundled with the component: records below and above 0x8000 and
// 0x10000, one file without a record, one too short to hold its record, and
// Polish names with diacritics.
SamplePackage BundledSample();

// A package of `count` layers for benchmarks; all layers share data files.
SamplePackage LargePackage(int count);

// The clear configuration text of a package (ANSI, CRLF lines).
std::string ClearConfiguration(const SamplePackage& package);

// A data file for one layer: the pattern, the pointer bytes and the record.
std::vector<std::uint8_t> DataFileBytes(const SampleLayer& layer);

// The byte the pattern puts at `offset` of every sample data file.
std::uint8_t PatternByte(std::uint64_t offset);

// Writes "<name>.cfg" (scrambled) and "<name>.ini" (clear) into configDir and
// every distinct data file into dataDir. Returns the scrambled file's path,
// or nothing when a file cannot be written.
std::optional<std::string> WritePackage(const SamplePackage& package, const std::string& configDir,
                                        const std::string& dataDir, const std::string& fileStem);

}  // namespace atrybuty::samples
