#include "core/mapfile/record_write.h"

#include <array>
#include <vector>

namespace atrybuty {
namespace {

// The order the user has always seen the bytes written in: colour, thickness, style.
constexpr std::size_t kWriteOrder[] = {2, 3, 4, 0, 1};  // indexes into the record's order

}  // namespace

PatchOutcome PatchRecordBytes(DataFile& file, const std::array<std::uint32_t, 5>& offsets,
                              std::span<const std::size_t> order, const std::array<std::uint8_t, 5>& values,
                              const std::array<std::uint8_t, 5>& previous) {
  std::vector<std::size_t> written;
  for (std::size_t i : order) {
    if (!file.WriteAt(offsets[i], std::span(&values[i], 1))) {
      // Put back what was written; the journal line covers what cannot be.
      bool restored = true;
      for (std::size_t w : written) restored = file.WriteAt(offsets[w], std::span(&previous[w], 1)) && restored;
      restored = file.Flush() && restored;
      return restored ? PatchOutcome::Failed : PatchOutcome::FailedHalfWritten;
    }
    written.push_back(i);
  }
  return file.Flush() ? PatchOutcome::Written : PatchOutcome::FailedHalfWritten;
}

std::string JournalFileName(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
  const std::u8string text = (ec ? path : absolute).u8string();
  return std::string(text.begin(), text.end());
}

RecordWriteResult WriteRecord(DataFiles& files, const RecordSnapshot& snapshot, const RecordChange& change,
                              Journal& journal, const ChangeContext& context,
                              const std::optional<std::filesystem::path>& allowedFolder, bool journalRequired) {
  RecordWriteResult result;
  FolderCheckedFile checked = OpenForWritingInside(files, snapshot.path, allowedFolder);
  if (checked.outside) {
    result.status = RecordWriteStatus::OutsideFolder;
    return result;
  }
  if (!checked.opened.file) {
    result.error = checked.opened.error;
    return result;
  }
  DataFile& file = *checked.opened.file;

  // The file as it is now, under our lock: it must hold the record the read found.
  const RecordRead now = ReadRecordOf(file);
  if (now.status == RecordStatus::TooShortForPointer || now.status == RecordStatus::TooShortForRecord) {
    result.status =
        now.base != 0 && now.base != snapshot.base ? RecordWriteStatus::RecordMoved : RecordWriteStatus::TooShort;
    return result;
  }
  if (now.status == RecordStatus::ReadFailed) {
    result.status = RecordWriteStatus::Failed;
    return result;
  }
  if (now.base != snapshot.base) {
    result.status = RecordWriteStatus::RecordMoved;
    return result;
  }
  result.found = now.style;
  if (now.style != snapshot.style) {
    result.status = RecordWriteStatus::RecordChanged;
    return result;
  }

  const LineStyle target = change.Over(now.style);
  const auto offsets = OffsetsOf(snapshot.base).All();
  const auto oldBytes = now.style.Bytes();
  const auto newBytes = target.Bytes();
  JournalEntry entry{JournalTimeNow(), context.package, context.layer, JournalFileName(snapshot.path), {}};
  for (std::size_t i = 0; i < offsets.size(); ++i) entry.bytes.push_back({offsets[i], oldBytes[i], newBytes[i]});
  // Recorded before any byte changes, so the change can always be undone.
  result.journaled = journal.Append(entry);
  if (!result.journaled && journalRequired) {
    result.status = RecordWriteStatus::NotJournaled;
    return result;
  }

  // A colour never confirmed is not written.
  const std::span<const std::size_t> order = change.colour ? std::span(kWriteOrder) : std::span(kWriteOrder).last(2);
  switch (PatchRecordBytes(file, offsets, order, newBytes, oldBytes)) {
    case PatchOutcome::Written:
      break;
    case PatchOutcome::Failed:
      result.status = RecordWriteStatus::Failed;
      return result;
    case PatchOutcome::FailedHalfWritten:
      result.status = RecordWriteStatus::FailedHalfWritten;
      return result;
  }
  result.found = target;
  result.status = RecordWriteStatus::Written;
  return result;
}

const char* Describe(RecordWriteStatus status) {
  switch (status) {
    case RecordWriteStatus::Written:
      return "written";
    case RecordWriteStatus::CannotOpen:
      return "cannot be opened for writing";
    case RecordWriteStatus::OutsideFolder:
      return "lies outside the map data folder";
    case RecordWriteStatus::RecordMoved:
      return "its record moved since it was read";
    case RecordWriteStatus::RecordChanged:
      return "its record changed since it was read";
    case RecordWriteStatus::TooShort:
      return "too short: the record lies beyond its end";
    case RecordWriteStatus::Failed:
      return "the write failed; nothing was changed";
    case RecordWriteStatus::FailedHalfWritten:
      return "the write failed half way; undo the journal's last change to restore it";
    case RecordWriteStatus::NotJournaled:
      return "the change journal cannot be written; nothing was changed";
  }
  return "unknown";
}

}  // namespace atrybuty
