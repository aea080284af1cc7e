#pragma once
// Undoing a change recorded in the change journal. The journal lies in the
// user's profile, where any program of the user can write, while the data
// files may need an administrator: so a journal line can only ever restore a
// line-style record. Its positions must be exactly the five record positions
// of the file's current pointer, and each byte must still hold the value the
// change wrote (it is restored) or already the value it replaced (it is left,
// so a change written half way can be completed); anything else is refused
// and nothing is written.

#include <cstdint>
#include <filesystem>
#include <optional>

#include "core/mapfile/data_files.h"
#include "core/mapfile/journal.h"

namespace atrybuty {

enum class UndoStatus {
  Restored,           // every byte holds what the change replaced now
  AlreadyRestored,    // every byte held it already; nothing written
  NotARecordChange,   // the line's positions are not the record's five
  NoRecord,           // the file holds no record (or is too short for it)
  ChangedSince,       // a byte holds neither value: a later change would be lost
  CannotOpen,         // see the result's `error`
  OutsideFolder,      // the file is not inside the folder it must be in
  Failed,             // a write failed; the bytes written before it were put back
};

struct UndoResult {
  UndoStatus status = UndoStatus::CannotOpen;
  FileError error = FileError::None;
  std::uint32_t offset = 0;  // the byte that holds neither value (ChangedSince)
  std::uint8_t found = 0;    // what it holds
  bool journaled = false;    // the undo was recorded in the journal as a change of its own
};

// Undoes `change` in `file` (the journal's data file, or the one the user
// named). `allowedFolder`: when given, the file must really lie inside it.
UndoResult UndoChange(DataFiles& files, const JournalEntry& change, const std::filesystem::path& file,
                      const std::optional<std::filesystem::path>& allowedFolder, Journal& journal);

const char* Describe(UndoStatus status);

}  // namespace atrybuty
