#include "core/mapfile/line_style_record.h"

#include "core/config/stdio_file.h"

namespace atrybuty {

RecordRead ReadLineStyleRecord(const std::string& path) {
  RecordRead r;
  StdioFile f(path, "rb");
  if (!f) return r;
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
  if (!f.ReadAt(kPointerLowOffset, pointer, 2)) {
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
  if (!f.ReadAt(at.thickness, record, sizeof record)) {
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

WriteResult PatchBytes(const std::string& path, std::span<const BytePatch> patches, bool dryRun) {
  WriteResult w;
  StdioFile f(path, "r+b");
  if (!f) return w;
  const auto size = f.Size();
  if (!size) {
    w.status = WriteStatus::IoFailed;
    return w;
  }
  w.fileSize = *size;
  for (const BytePatch& p : patches) {
    if (p.offset >= w.fileSize) {
      w.status = WriteStatus::BeyondEnd;
      return w;
    }
  }
  w.oldBytes.reserve(patches.size());
  for (const BytePatch& p : patches) {
    std::uint8_t old = 0;
    if (!f.ReadAt(p.offset, &old, 1)) {
      w.status = WriteStatus::IoFailed;
      return w;
    }
    w.oldBytes.push_back(old);
  }
  if (!dryRun) {
    for (const BytePatch& p : patches) {
      if (!f.WriteAt(p.offset, &p.value, 1)) {
        w.status = WriteStatus::IoFailed;
        return w;
      }
    }
  }
  w.status = f.Close() ? WriteStatus::Ok : WriteStatus::IoFailed;
  return w;
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

const char* Describe(WriteStatus status) {
  switch (status) {
    case WriteStatus::Ok:
      return "ok";
    case WriteStatus::CannotOpen:
      return "cannot be opened for writing";
    case WriteStatus::BeyondEnd:
      return "too short: a record byte lies beyond its end";
    case WriteStatus::IoFailed:
      return "could not be read or written";
  }
  return "unknown";
}

}  // namespace atrybuty
