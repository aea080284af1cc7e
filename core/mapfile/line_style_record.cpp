#include "core/mapfile/line_style_record.h"

namespace atrybuty {

RecordRead ReadRecordOf(DataFile& f) {
  RecordRead r;
  const auto size = f.Size();
  if (!size) {
    r.status = RecordStatus::ReadFailed;
    return r;
  }
  r.fileSize = *size;
  if (r.fileSize <= kPointerHighOffset) {
    r.status = RecordStatus::TooShortForPointer;
    return r;
  }
  std::uint8_t pointer[2];
  if (!f.ReadAt(kPointerLowOffset, pointer)) {
    r.status = RecordStatus::ReadFailed;
    return r;
  }
  r.pointerLow = pointer[0];
  r.pointerHigh = pointer[1];
  r.base = RecordBase(pointer[0], pointer[1]);
  if (r.base == 0) {
    r.status = RecordStatus::NoRecord;
    return r;
  }
  const RecordOffsets at = OffsetsOf(r.base);
  if (r.fileSize <= at.blue) {
    r.status = RecordStatus::TooShortForRecord;
    return r;
  }
  std::uint8_t record[kBlueOffset - kThicknessOffset + 1];
  if (!f.ReadAt(at.thickness, record)) {
    r.status = RecordStatus::ReadFailed;
    return r;
  }
  r.style.thickness = record[0];
  r.style.style = record[kStyleOffset - kThicknessOffset];
  r.style.colour = {record[kRedOffset - kThicknessOffset], record[kGreenOffset - kThicknessOffset],
                    record[kBlueOffset - kThicknessOffset]};
  r.status = RecordStatus::Ok;
  return r;
}

RecordRead ReadLineStyleRecord(DataFiles& files, const std::filesystem::path& path) {
  OpenedFile opened = files.OpenForReading(path);
  RecordRead r;
  if (opened.file) r = ReadRecordOf(*opened.file);
  r.error = opened.error;
  r.path = path;
  return r;  // the file is closed here, before any caller touches a control
}

const char* Describe(RecordStatus status) {
  switch (status) {
    case RecordStatus::Ok:
      return "ok";
    case RecordStatus::NoRecord:
      return "no record (both pointer bytes are zero)";
    case RecordStatus::CannotOpen:
      return "cannot be opened";
    case RecordStatus::ReadFailed:
      return "cannot be read";
    case RecordStatus::TooShortForPointer:
      return "too short to hold the record pointer";
    case RecordStatus::TooShortForRecord:
      return "too short to hold the record it points at";
  }
  return "unknown";
}

const char* Describe(FileError error) {
  switch (error) {
    case FileError::None:
      return "ok";
    case FileError::NotFound:
      return "no such file";
    case FileError::AccessDenied:
      return "access denied (writing below Program Files needs an administrator)";
    case FileError::ReadOnly:
      return "the file is read-only";
    case FileError::InUse:
      return "another program is using it";
    case FileError::NotAFile:
      return "not a file";
    case FileError::Failed:
      return "cannot be opened";
  }
  return "unknown";
}

}  // namespace atrybuty
