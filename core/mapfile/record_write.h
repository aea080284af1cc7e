#pragma once
// The checked write of a line-style record, shared by the dialog's apply,
// its elevated step and the tool: the file is opened once, with other
// writers kept out; the pointer and the five bytes are read again and must
// still be what the last read found; the journal line is appended; the bytes
// are written in the order colour, thickness, style; the file is flushed. A
// write that fails midway puts back the bytes it already wrote.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "core/mapfile/data_files.h"
#include "core/mapfile/journal.h"
#include "core/mapfile/line_style_record.h"

namespace atrybuty {

// The record an apply writes into, as the last read found it.
struct RecordSnapshot {
  std::filesystem::path path;
  std::uint32_t base = 0;  // never 0: a snapshot is of a record
  LineStyle style;         // the five bytes as read
  friend bool operator==(const RecordSnapshot&, const RecordSnapshot&) = default;
};

// What an apply writes: thickness and style always, the colour only when the
// user confirmed one.
struct RecordChange {
  std::uint8_t thickness = 0;
  std::uint8_t style = 0;
  std::optional<RgbBytes> colour;
  // The record once the change is made over `old`.
  LineStyle Over(const LineStyle& old) const { return {thickness, style, colour.value_or(old.colour)}; }
  friend bool operator==(const RecordChange&, const RecordChange&) = default;
};

// Who changes what, for the journal line (UTF-8).
struct ChangeContext {
  std::string package;
  std::string layer;
  friend bool operator==(const ChangeContext&, const ChangeContext&) = default;
};

enum class RecordWriteStatus {
  Written,
  CannotOpen,         // see the result's `error`
  OutsideFolder,      // the opened file is not inside the folder it must be in
  RecordMoved,        // the pointer gives another base (or none) than the snapshot's
  RecordChanged,      // the record's bytes are no longer those the read found
  TooShort,           // the file no longer holds the whole record
  Failed,             // a write failed; the bytes written before it were put back
  FailedHalfWritten,  // a write failed and could not be put back: the journal line lets undo finish it
  NotJournaled,       // the journal line could not be written, and the caller needs it: nothing written
};

struct RecordWriteResult {
  RecordWriteStatus status = RecordWriteStatus::CannotOpen;
  FileError error = FileError::None;
  bool journaled = false;  // the journal line was written
  LineStyle found;         // the record as the check found it (status Written, RecordChanged)
};

// `allowedFolder`: when given, the file must really lie inside it (links
// and junctions resolved). The journal line names all five bytes (old and
// new; a colour not written appears with equal values). The dialog writes
// even when the journal cannot be appended to, and tells the user; a caller
// with nobody to tell asks for `journalRequired`, and nothing is written
// without the line.
RecordWriteResult WriteRecord(DataFiles& files, const RecordSnapshot& snapshot, const RecordChange& change,
                              Journal& journal, const ChangeContext& context,
                              const std::optional<std::filesystem::path>& allowedFolder,
                              bool journalRequired = false);

enum class PatchOutcome { Written, Failed, FailedHalfWritten };

// Writes record byte i (`values[i]` at `offsets[i]`) for each i of `order`,
// one byte at a time, then flushes. When a write fails, the bytes already
// written are put back to `previous`; FailedHalfWritten when that, or the
// final flush, fails as well.
PatchOutcome PatchRecordBytes(DataFile& file, const std::array<std::uint32_t, 5>& offsets,
                              std::span<const std::size_t> order, const std::array<std::uint8_t, 5>& values,
                              const std::array<std::uint8_t, 5>& previous);

// The journal's name for a data file: its absolute path, UTF-8.
std::string JournalFileName(const std::filesystem::path& path);

const char* Describe(RecordWriteStatus status);

}  // namespace atrybuty
