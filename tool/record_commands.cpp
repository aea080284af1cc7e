// show and set.

#include <charconv>
#include <cstdio>
#include <optional>

#include "core/mapfile/colour.h"
#include "core/mapfile/journal.h"
#include "core/mapfile/line_style_record.h"
#include "core/mapfile/position_text.h"
#include "tool/commands.h"
#include "tool/journal_location.h"
#include "tool/record_text.h"
#include "tool/system_codec.h"

namespace atrybuty::tool {
namespace {

std::string Hex2(unsigned v) {
  std::string s = UpperHex(v);
  return "0x" + std::string(s.size() < 2 ? 2 - s.size() : 0, '0') + s;
}

std::optional<std::uint8_t> ParseByte(const std::string& text) {
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > 255) return std::nullopt;
  return static_cast<std::uint8_t>(value);
}

int ReportUnreadable(const std::string& path, const RecordRead& read) {
  if (read.status == RecordStatus::NoRecord) {
    std::printf("%s: no record\n", path.c_str());
    return kNoRecord;
  }
  return Fail(kFailed, path + ": " + Describe(read.status));
}

}  // namespace

std::string RecordSummary(const RecordRead& r) {
  if (r.status != RecordStatus::Ok) return Describe(r.status);
  return "thickness " + std::to_string(r.style.thickness) + ", style " + std::to_string(r.style.style) + ", colour " +
         WebColour(ColourValue(r.style.colour));
}

int Show(const Args& args) {
  if (args.size() != 1) return Fail(kUsage, "usage: atrybuty-tool show DATAFILE");
  const std::string& path = args[0];
  const RecordRead r = ReadLineStyleRecord(path);
  if (r.status == RecordStatus::CannotOpen || r.status == RecordStatus::ReadFailed ||
      r.status == RecordStatus::TooShortForPointer)
    return ReportUnreadable(path, r);

  std::printf("File:          %s\n", path.c_str());
  std::printf("Size:          %llu bytes\n", static_cast<unsigned long long>(r.fileSize));
  std::printf("Pointer bytes: PL %s (at 0x139), PH %s (at 0x13A)\n", Hex2(r.pointerLow).c_str(),
              Hex2(r.pointerHigh).c_str());
  if (r.status == RecordStatus::NoRecord) {
    std::printf("Record:        no record\n");
    return kNoRecord;
  }
  const RecordOffsets at = OffsetsOf(r.base);
  std::printf("Record base:   0x%s\n", UpperHex(r.base).c_str());
  std::printf("Positions:     thickness %s, style %s, red %s, green %s, blue %s\n", PositionText(at.thickness).c_str(),
              PositionText(at.style).c_str(), PositionText(at.red).c_str(), PositionText(at.green).c_str(),
              PositionText(at.blue).c_str());
  if (r.status != RecordStatus::Ok) return Fail(kFailed, path + ": " + Describe(r.status));
  const std::uint32_t colour = ColourValue(r.style.colour);
  std::printf("Thickness:     %u\n", r.style.thickness);
  std::printf("Style:         %u\n", r.style.style);
  std::printf("Colour:        %s (web), %s (decimal), %s (KolorHex)\n", WebColour(colour).c_str(),
              ColourDecimal(colour).c_str(), KolorHex(colour).c_str());
  return kOk;
}

int Set(const Args& args) {
  static const char kUsageText[] =
      "usage: atrybuty-tool set DATAFILE [--thickness N] [--style N] [--color #RRGGBB|DECIMAL] [--journal PATH]";
  std::filesystem::path journalPath = DefaultJournalPath();
  std::string path;
  std::optional<std::uint8_t> thickness, style;
  std::optional<std::uint32_t> colour;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--thickness" && hasValue) {
      if (!(thickness = ParseByte(args[++i]))) return Fail(kUsage, "--thickness takes 0 to 255");
    } else if (args[i] == "--style" && hasValue) {
      if (!(style = ParseByte(args[++i]))) return Fail(kUsage, "--style takes 0 to 255");
    } else if ((args[i] == "--color" || args[i] == "--colour") && hasValue) {
      if (!(colour = ParseColourArgument(args[++i])))
        return Fail(kUsage, "--color takes #RRGGBB or a decimal colour value up to 16777215");
    } else if (args[i] == "--journal" && hasValue) {
      const std::string& text = args[++i];
      journalPath = std::filesystem::path(std::u8string(text.begin(), text.end()));
    } else if (path.empty() && args[i].rfind("--", 0) != 0) {
      path = args[i];
    } else {
      return Fail(kUsage, kUsageText);
    }
  }
  if (path.empty() || (!thickness && !style && !colour)) return Fail(kUsage, kUsageText);

  const RecordRead r = ReadLineStyleRecord(path);
  if (r.status != RecordStatus::Ok) return ReportUnreadable(path, r);
  const RecordOffsets at = OffsetsOf(r.base);
  std::vector<BytePatch> patches;
  patches.reserve(5);
  if (colour) {
    const RgbBytes c = ColourBytes(*colour);
    patches.push_back({at.red, c.red});
    patches.push_back({at.green, c.green});
    patches.push_back({at.blue, c.blue});
  }
  if (thickness) patches.push_back({at.thickness, *thickness});
  if (style) patches.push_back({at.style, *style});
  // Recorded before the bytes change, as the component does, so `undo` can
  // restore them.
  const WriteResult before = PatchBytes(path, patches, /*dryRun=*/true);
  if (before.status != WriteStatus::Ok) return Fail(kFailed, path + ": " + Describe(before.status));
  JournalEntry entry{JournalTimeNow(), "-", "-", SystemCodec().AnsiToUtf8(path), {}};
  for (std::size_t i = 0; i < patches.size(); ++i) {
    entry.bytes.push_back({patches[i].offset, before.oldBytes[i], patches[i].value});
  }
  if (!FileJournal(journalPath, "").Append(entry)) {
    std::fprintf(stderr, "atrybuty-tool: warning: the change could not be recorded in the journal\n");
  }
  const WriteResult w = PatchBytes(path, patches);
  if (w.status != WriteStatus::Ok) return Fail(kFailed, path + ": " + Describe(w.status));
  std::printf("%s: %s\n", path.c_str(), RecordSummary(ReadLineStyleRecord(path)).c_str());
  return kOk;
}

}  // namespace atrybuty::tool
