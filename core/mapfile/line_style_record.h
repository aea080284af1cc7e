#pragma once
// The line-style record of a Microsoft Map data file.
//
// Two header bytes point at the record: PL at 0x139 and PH at 0x13A give the
// record base B = 65536 * PH + 256 * PL; B = 0 means the file holds no
// record. From B: thickness at B+13, style at B+14, red, green and blue at
// B+16, B+17 and B+18. No other byte is read or changed. Every operation opens
// the file once, checks the file's length before touching a byte, and closes
// it before it returns; a file is never extended.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/mapfile/colour.h"
#include "core/mapfile/data_files.h"

namespace atrybuty {

inline constexpr std::uint32_t kPointerLowOffset = 0x139;
inline constexpr std::uint32_t kPointerHighOffset = 0x13A;
inline constexpr std::uint32_t kThicknessOffset = 13;
inline constexpr std::uint32_t kStyleOffset = 14;
inline constexpr std::uint32_t kRedOffset = 16;
inline constexpr std::uint32_t kGreenOffset = 17;
inline constexpr std::uint32_t kBlueOffset = 18;

constexpr std::uint32_t RecordBase(std::uint8_t pl, std::uint8_t ph) { return 65536u * ph + 256u * pl; }

// 0-based offsets of the five record bytes of the record at `base`.
struct RecordOffsets {
  std::uint32_t thickness, style, red, green, blue;
  // In the record's order: thickness, style, red, green, blue.
  std::array<std::uint32_t, 5> All() const { return {thickness, style, red, green, blue}; }
};
constexpr RecordOffsets OffsetsOf(std::uint32_t base) {
  return {base + kThicknessOffset, base + kStyleOffset, base + kRedOffset, base + kGreenOffset, base + kBlueOffset};
}

struct LineStyle {
  std::uint8_t thickness = 0;
  std::uint8_t style = 0;
  RgbBytes colour;
  // The five bytes in the record's order: thickness, style, red, green, blue.
  std::array<std::uint8_t, 5> Bytes() const { return {thickness, style, colour.red, colour.green, colour.blue}; }
  friend bool operator==(const LineStyle&, const LineStyle&) = default;
};

enum class RecordStatus {
  Ok,
  NoRecord,    // both pointer bytes are zero
  CannotOpen,  // missing, not a file, locked, no access (see RecordRead::error)
  ReadFailed,
  TooShortForPointer,  // shorter than 0x13B bytes
  TooShortForRecord,   // the record would run past the end of the file
};

// What one read found: with status Ok, the snapshot an apply checks the file
// against before it writes (the file, its record base, the five old bytes).
struct RecordRead {
  RecordStatus status = RecordStatus::CannotOpen;
  FileError error = FileError::None;  // why it could not be opened
  std::filesystem::path path;
  std::uint64_t fileSize = 0;
  std::uint8_t pointerLow = 0, pointerHigh = 0;
  std::uint32_t base = 0;
  LineStyle style;  // valid when status is Ok
};

RecordRead ReadLineStyleRecord(DataFiles& files, const std::filesystem::path& path);

// The record of an open file, read in place.
RecordRead ReadRecordOf(DataFile& file);

const char* Describe(RecordStatus status);
const char* Describe(FileError error);

}  // namespace atrybuty
