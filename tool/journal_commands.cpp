// history and undo: the change journal the component writes before every change.

#include <nlohmann/json.hpp>

#include "core/mapfile/journal.h"
#include "core/mapfile/line_style_record.h"
#include "core/mapfile/position_text.h"
#include "core/mapfile/record_undo.h"
#include "core/text/paths.h"
#include "tool/commands.h"

namespace atrybuty::tool {
namespace {

std::filesystem::path JournalOf(const std::optional<std::string>& given) {
  return given ? PathFromUtf8(*given) : DefaultJournalPath();
}

std::string Hex2(std::uint8_t v) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[v >> 4], kDigits[v & 0xF]};
}

std::string Bytes(const JournalEntry& e) {
  std::string text;
  for (const JournalByte& b : e.bytes) {
    if (!text.empty()) text += ' ';
    text += PositionText(b.offset) + ':' + Hex2(b.oldValue) + '>' + Hex2(b.newValue);
  }
  return text;
}

}  // namespace

int History(const HistoryOptions& o) {
  const std::filesystem::path path = JournalOf(o.journal);
  const std::string shown = Utf8FromPath(path);
  const auto entries = ReadJournal(path);
  if (o.json) {
    nlohmann::json j = {{"journal", shown}, {"changes", nlohmann::json::array()}};
    for (std::size_t i = 0; entries && i < entries->size(); ++i) {
      const JournalEntry& e = (*entries)[i];
      nlohmann::json bytes = nlohmann::json::array();
      for (const JournalByte& b : e.bytes)
        bytes.push_back({{"position", PositionText(b.offset)}, {"old", b.oldValue}, {"new", b.newValue}});
      j["changes"].push_back({{"number", i + 1},
                              {"time", e.time},
                              {"package", e.package},
                              {"layer", e.layer},
                              {"dataFile", e.dataFile},
                              {"bytes", bytes}});
    }
    Print(j.dump(2) + "\n");
    return kOk;
  }
  if (!entries) {
    Print("No changes recorded (" + shown + " does not exist).\n");
    return kOk;
  }
  std::string t = std::to_string(entries->size()) + " change(s) in " + shown + "\n";
  for (std::size_t i = 0; i < entries->size(); ++i) {
    const JournalEntry& e = (*entries)[i];
    std::string number = std::to_string(i + 1);
    number.insert(0, number.size() < 4 ? 4 - number.size() : 0, ' ');
    t += number + "  " + e.time + "  " + e.package + " / " + e.layer + "\n      " + e.dataFile + "\n      " + Bytes(e) +
         "\n";
  }
  Print(t);
  return kOk;
}

// A journal line can only restore a record, and only inside the map data
// folder unless the user names the file: the journal lies where any program
// of the user can write, the data files where only an administrator may.
int Undo(const UndoOptions& o) {
  const std::filesystem::path path = JournalOf(o.journal);
  const auto entries = ReadJournal(path);
  if (!entries) return Fail(kFailed, "cannot read the journal " + Utf8FromPath(path));
  if (o.change < 1 || o.change > entries->size()) {
    return Fail(kUsage, "no change number " + std::to_string(o.change) + " (the journal holds " +
                            std::to_string(entries->size()) + ")");
  }
  const JournalEntry& e = (*entries)[o.change - 1];
  const std::filesystem::path file = o.file ? PathFromUtf8(*o.file) : PathFromUtf8(e.dataFile);
  std::optional<std::filesystem::path> folder;
  if (!o.file) {
    folder = o.dataDir ? std::optional(PathFromUtf8(*o.dataDir)) : MapDataDirectory();
    if (!folder) {
      return Fail(kUsage, "the map data folder is unknown here: name it with --data-dir, or the file with --file");
    }
  }
  FileJournal journal(path, Utf8FromPath(path));
  const UndoResult u = UndoChange(Files(), e, file, folder, journal);
  const std::string shown = Utf8FromPath(file);
  switch (u.status) {
    case UndoStatus::Restored:
      if (!u.journaled) Fail(kOk, "warning: the undo could not be recorded in the journal");
      Print("Restored change " + std::to_string(o.change) + ": " + e.package + " / " + e.layer + "\n  " + Bytes(e) +
            "\n");
      return kOk;
    case UndoStatus::AlreadyRestored:
      Print("Change " + std::to_string(o.change) + " is undone already: " + shown + " holds what it replaced\n");
      return kOk;
    case UndoStatus::ChangedSince:
      return Fail(kRefused, shown + " no longer holds what change " + std::to_string(o.change) + " wrote (position " +
                                PositionText(u.offset) + " holds " + Hex2(u.found) + "); nothing restored");
    case UndoStatus::CannotOpen:
      return Fail(kFailed, shown + ": " + Describe(u.error));
    case UndoStatus::Failed:
      return Fail(kFailed, shown + ": " + Describe(u.status));
    default:
      return Fail(kRefused, shown + ": " + Describe(u.status));
  }
}

}  // namespace atrybuty::tool
