// show and set.

#include <cstdio>

#include "core/mapfile/colour.h"
#include "core/mapfile/journal.h"
#include "core/mapfile/position_text.h"
#include "core/mapfile/record_write.h"
#include "core/text/paths.h"
#include "tool/commands.h"
#include "tool/record_json.h"

namespace atrybuty::tool {
namespace {

std::string Hex2(unsigned v) {
  std::string s = UpperHex(v);
  return "0x" + std::string(s.size() < 2 ? 2 - s.size() : 0, '0') + s;
}

std::string StatusName(RecordStatus status) {
  switch (status) {
    case RecordStatus::Ok:
      return "ok";
    case RecordStatus::NoRecord:
      return "no-record";
    case RecordStatus::CannotOpen:
      return "cannot-open";
    case RecordStatus::ReadFailed:
      return "read-failed";
    case RecordStatus::TooShortForPointer:
    case RecordStatus::TooShortForRecord:
      return "too-short";
  }
  return "unknown";
}

std::string Why(const RecordRead& r) {
  return r.status == RecordStatus::CannotOpen ? Describe(r.error) : Describe(r.status);
}

}  // namespace

std::string RecordSummary(const RecordRead& r) {
  if (r.status != RecordStatus::Ok) return Why(r);
  return "thickness " + std::to_string(r.style.thickness) + ", style " + std::to_string(r.style.style) + ", colour " +
         WebColour(ColourValue(r.style.colour));
}

nlohmann::json RecordJson(const RecordRead& r) {
  nlohmann::json j = {{"status", StatusName(r.status)}};
  if (r.status != RecordStatus::Ok) {
    j["reason"] = Why(r);
    return j;
  }
  const std::uint32_t colour = ColourValue(r.style.colour);
  const RecordOffsets at = OffsetsOf(r.base);
  j["base"] = r.base;
  j["positions"] = {{"thickness", PositionText(at.thickness)}, {"style", PositionText(at.style)},
                    {"red", PositionText(at.red)},             {"green", PositionText(at.green)},
                    {"blue", PositionText(at.blue)}};
  j["thickness"] = r.style.thickness;
  j["style"] = r.style.style;
  j["colour"] = WebColour(colour);
  j["colourValue"] = colour;
  j["kolorHex"] = KolorHex(colour);
  return j;
}

int Show(const ShowOptions& o) {
  const RecordRead r = ReadLineStyleRecord(Files(), PathFromUtf8(o.file));
  if (r.status == RecordStatus::CannotOpen || r.status == RecordStatus::ReadFailed ||
      r.status == RecordStatus::TooShortForPointer)
    return Fail(kFailed, o.file + ": " + Why(r));
  if (o.json) {
    nlohmann::json j = RecordJson(r);
    j["file"] = o.file;
    j["size"] = r.fileSize;
    j["pointer"] = {{"low", r.pointerLow}, {"high", r.pointerHigh}};
    Print(j.dump(2) + "\n");
    return r.status == RecordStatus::Ok ? kOk : r.status == RecordStatus::NoRecord ? kNoRecord : kFailed;
  }
  std::string t = "File:          " + o.file + "\n";
  t += "Size:          " + std::to_string(r.fileSize) + " bytes\n";
  t += "Pointer bytes: PL " + Hex2(r.pointerLow) + " (at 0x139), PH " + Hex2(r.pointerHigh) + " (at 0x13A)\n";
  if (r.status == RecordStatus::NoRecord) {
    Print(t + "Record:        no record\n");
    return kNoRecord;
  }
  const RecordOffsets at = OffsetsOf(r.base);
  t += "Record base:   0x" + UpperHex(r.base) + "\n";
  t += "Positions:     thickness " + PositionText(at.thickness) + ", style " + PositionText(at.style) + ", red " +
       PositionText(at.red) + ", green " + PositionText(at.green) + ", blue " + PositionText(at.blue) + "\n";
  if (r.status != RecordStatus::Ok) {
    Print(t);
    return Fail(kFailed, o.file + ": " + Why(r));
  }
  const std::uint32_t colour = ColourValue(r.style.colour);
  t += "Thickness:     " + std::to_string(r.style.thickness) + "\n";
  t += "Style:         " + std::to_string(r.style.style) + "\n";
  t += "Colour:        " + WebColour(colour) + " (web), " + ColourDecimal(colour) + " (decimal), " + KolorHex(colour) +
       " (KolorHex)\n";
  Print(t);
  return kOk;
}

// The same checked, journaled write as the dialog's apply, from a fresh read:
// only the named values change; the others are written back as they are.
int Set(const SetOptions& o) {
  const std::filesystem::path path = PathFromUtf8(o.file);
  const RecordRead r = ReadLineStyleRecord(Files(), path);
  if (r.status == RecordStatus::NoRecord) {
    Print(o.file + ": no record\n");
    return kNoRecord;
  }
  if (r.status != RecordStatus::Ok) return Fail(kFailed, o.file + ": " + Why(r));

  RecordChange change{static_cast<std::uint8_t>(o.thickness.value_or(r.style.thickness)),
                      static_cast<std::uint8_t>(o.style.value_or(r.style.style)), std::nullopt};
  if (o.colour) change.colour = ColourBytes(*o.colour);
  const std::filesystem::path journalPath = o.journal ? PathFromUtf8(*o.journal) : DefaultJournalPath();
  FileJournal journal(journalPath, Utf8FromPath(journalPath));
  const RecordWriteResult w = WriteRecord(Files(), {path, r.base, r.style}, change, journal, {"-", "-"}, std::nullopt);
  if (w.status == RecordWriteStatus::Written || w.status == RecordWriteStatus::FailedHalfWritten) {
    if (!w.journaled) Fail(kOk, "warning: the change could not be recorded in the journal " + Utf8FromPath(journalPath));
  }
  switch (w.status) {
    case RecordWriteStatus::Written:
      Print(o.file + ": " + RecordSummary(ReadLineStyleRecord(Files(), path)) + "\n");
      return kOk;
    case RecordWriteStatus::CannotOpen:
      return Fail(kFailed, o.file + ": " + Describe(w.error));
    case RecordWriteStatus::RecordMoved:
    case RecordWriteStatus::RecordChanged:
      return Fail(kRefused, o.file + ": " + Describe(w.status) + "; nothing written");
    default:
      return Fail(kFailed, o.file + ": " + Describe(w.status));
  }
}

}  // namespace atrybuty::tool
