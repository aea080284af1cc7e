#include "core/mapfile/record_undo.h"

#include <array>
#include <vector>

#include "core/mapfile/line_style_record.h"
#include "core/mapfile/record_write.h"

namespace atrybuty {

UndoResult UndoChange(DataFiles& files, const JournalEntry& entry, const std::filesystem::path& path,
                      const std::optional<std::filesystem::path>& allowedFolder, Journal& journal) {
  // A copy: the entry may live in the journal that the undo's own line is appended to.
  const JournalEntry change = entry;
  UndoResult result;
  FolderCheckedFile checked = OpenForWritingInside(files, path, allowedFolder);
  if (checked.outside) {
    result.status = UndoStatus::OutsideFolder;
    return result;
  }
  if (!checked.opened.file) {
    result.error = checked.opened.error;
    return result;
  }
  DataFile& file = *checked.opened.file;
  const RecordRead now = ReadRecordOf(file);
  if (now.status == RecordStatus::ReadFailed) {
    result.status = UndoStatus::Failed;
    return result;
  }
  if (now.status != RecordStatus::Ok) {
    result.status = UndoStatus::NoRecord;
    return result;
  }
  const auto offsets = OffsetsOf(now.base).All();
  if (change.bytes.size() != offsets.size()) {
    result.status = UndoStatus::NotARecordChange;
    return result;
  }
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    if (change.bytes[i].offset != offsets[i]) {
      result.status = UndoStatus::NotARecordChange;
      return result;
    }
  }

  const auto current = now.style.Bytes();
  std::vector<std::size_t> restore;
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    const JournalByte& b = change.bytes[i];
    if (current[i] == b.newValue && b.newValue != b.oldValue) {
      restore.push_back(i);
    } else if (current[i] != b.oldValue) {
      result.status = UndoStatus::ChangedSince;
      result.offset = offsets[i];
      result.found = current[i];
      return result;
    }
  }
  if (restore.empty()) {
    result.status = UndoStatus::AlreadyRestored;
    return result;
  }

  // The undo is a change of its own: recorded first, with all five bytes.
  JournalEntry undo{JournalTimeNow(), change.package, change.layer, JournalFileName(path), {}};
  for (std::size_t i = 0; i < offsets.size(); ++i) undo.bytes.push_back({offsets[i], current[i], change.bytes[i].oldValue});
  result.journaled = journal.Append(undo);

  std::array<std::uint8_t, 5> restored = current;
  for (std::size_t i : restore) restored[i] = change.bytes[i].oldValue;
  result.status = PatchRecordBytes(file, offsets, restore, restored, current) == PatchOutcome::Written
                      ? UndoStatus::Restored
                      : UndoStatus::Failed;
  return result;
}

const char* Describe(UndoStatus status) {
  switch (status) {
    case UndoStatus::Restored:
      return "restored";
    case UndoStatus::AlreadyRestored:
      return "the file already holds what the change replaced; nothing written";
    case UndoStatus::NotARecordChange:
      return "the journal line does not name the five bytes of the file's line-style record; nothing written";
    case UndoStatus::NoRecord:
      return "the file holds no line-style record; nothing written";
    case UndoStatus::ChangedSince:
      return "the file was changed again since; nothing written";
    case UndoStatus::CannotOpen:
      return "cannot be opened for writing";
    case UndoStatus::OutsideFolder:
      return "lies outside the map data folder (name the file with --file to restore it anyway)";
    case UndoStatus::Failed:
      return "the write failed; nothing was changed";
  }
  return "unknown";
}

}  // namespace atrybuty
