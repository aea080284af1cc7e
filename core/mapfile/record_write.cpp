#include "core/mapfile/record_write.h"

#include <array>
#include <vector>

namespace atrybuty {
namespace {

// The order the user has always seen the bytes written in: colour, thickness, style.
constexpr std::array<int, 5> kWriteOrder = {2, 3, 4, 0, 1};  // indexes into the record's order

}  // namespace

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

  std::vector<int> written;
  for (int i : kWriteOrder) {
    if (i >= 2 && !change.colour) continue;  // a colour never confirmed is not written
    const std::uint8_t value = newBytes[static_cast<std::size_t>(i)];
    if (!file.WriteAt(offsets[static_cast<std::size_t>(i)], std::span(&value, 1))) {
      // Put back what was written; the journal line covers what cannot be.
      bool restored = true;
      for (int w : written) {
        const std::uint8_t old = oldBytes[static_cast<std::size_t>(w)];
        restored = file.WriteAt(offsets[static_cast<std::size_t>(w)], std::span(&old, 1)) && restored;
      }
      restored = file.Flush() && restored;
      result.status = restored ? RecordWriteStatus::Failed : RecordWriteStatus::FailedHalfWritten;
      return result;
    }
    written.push_back(i);
  }
  if (!file.Flush()) {
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
