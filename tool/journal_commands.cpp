// history and undo: the change journal the component writes before every change.

#include <cstdio>
#include <string>

#include "core/mapfile/journal.h"
#include "core/mapfile/line_style_record.h"
#include "core/mapfile/position_text.h"
#include "tool/commands.h"
#include "tool/journal_location.h"
#include "tool/system_codec.h"

namespace atrybuty::tool {
namespace {

// Takes "--journal PATH" out of the arguments.
std::filesystem::path JournalFrom(Args& args) {
  for (std::size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--journal") {
      const std::string& text = args[i + 1];
      std::filesystem::path path(std::u8string(text.begin(), text.end()));
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
      return path;
    }
  }
  return DefaultJournalPath();
}

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
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

std::optional<std::vector<JournalEntry>> Load(const std::filesystem::path& path) { return ReadJournal(path.string()); }

}  // namespace

int History(const Args& input) {
  Args args = input;
  const std::filesystem::path path = JournalFrom(args);
  if (!args.empty()) return Fail(kUsage, "usage: atrybuty-tool history [--journal PATH]");
  const auto entries = Load(path);
  if (!entries) {
    std::printf("No changes recorded (%s does not exist).\n", Utf8(path).c_str());
    return kOk;
  }
  std::printf("%zu change(s) in %s\n", entries->size(), Utf8(path).c_str());
  for (std::size_t i = 0; i < entries->size(); ++i) {
    const JournalEntry& e = (*entries)[i];
    std::printf("%4zu  %s  %s / %s\n      %s\n      %s\n", i + 1, e.time.c_str(), e.package.c_str(), e.layer.c_str(),
                e.dataFile.c_str(), Bytes(e).c_str());
  }
  return kOk;
}

int Undo(const Args& input) {
  Args args = input;
  const std::filesystem::path path = JournalFrom(args);
  if (args.size() != 1) return Fail(kUsage, "usage: atrybuty-tool undo N [--journal PATH]");
  const auto entries = Load(path);
  if (!entries) return Fail(kFailed, "cannot read the journal " + Utf8(path));
  const std::size_t n = std::strtoul(args[0].c_str(), nullptr, 10);
  if (n < 1 || n > entries->size()) {
    return Fail(kUsage, "no change number " + args[0] + " (the journal holds " + std::to_string(entries->size()) + ")");
  }
  const JournalEntry& e = (*entries)[n - 1];
  const std::string file = SystemCodec().Utf8ToAnsi(e.dataFile);

  // The file must still hold what the change wrote; otherwise a later change
  // (or another program) would be overwritten.
  std::vector<BytePatch> restore, check;
  for (const JournalByte& b : e.bytes) {
    check.push_back({b.offset, b.newValue});
    restore.push_back({b.offset, b.oldValue});
  }
  const WriteResult now = PatchBytes(file, check, /*dryRun=*/true);
  if (now.status != WriteStatus::Ok) return Fail(kFailed, e.dataFile + ": " + Describe(now.status));
  for (std::size_t i = 0; i < e.bytes.size(); ++i) {
    if (now.oldBytes[i] != e.bytes[i].newValue) {
      return Fail(kFailed, e.dataFile + " no longer holds what change " + args[0] + " wrote (position " +
                               PositionText(e.bytes[i].offset) + ": " + Hex2(now.oldBytes[i]) + ", change wrote " +
                               Hex2(e.bytes[i].newValue) + "); nothing restored");
    }
  }
  JournalEntry undo{JournalTimeNow(), e.package, e.layer, e.dataFile, {}};
  for (const JournalByte& b : e.bytes) undo.bytes.push_back({b.offset, b.newValue, b.oldValue});
  FileJournal journal(path, Utf8(path));
  if (!journal.Append(undo))
    std::fprintf(stderr, "atrybuty-tool: warning: the undo could not be recorded in the journal\n");
  const WriteResult w = PatchBytes(file, restore);
  if (w.status != WriteStatus::Ok) return Fail(kFailed, e.dataFile + ": " + Describe(w.status));
  std::printf("Restored change %zu: %s / %s\n  %s\n", n, e.package.c_str(), e.layer.c_str(), Bytes(undo).c_str());
  return kOk;
}

}  // namespace atrybuty::tool
