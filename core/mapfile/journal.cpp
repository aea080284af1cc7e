#include "core/mapfile/journal.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "core/config/file_bytes.h"
#include "core/config/stdio_file.h"
#include "core/mapfile/position_text.h"
#include "core/text/escapes.h"

namespace atrybuty {
namespace {

std::optional<std::uint8_t> HexByte(std::string_view s) {
  if (s.size() != 2) return std::nullopt;
  int v = 0;
  for (char c : s) {
    int d = (c >= '0' && c <= '9')   ? c - '0'
            : (c >= 'A' && c <= 'F') ? c - 'A' + 10
            : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                     : -1;
    if (d < 0) return std::nullopt;
    v = v * 16 + d;
  }
  return static_cast<std::uint8_t>(v);
}

// 2026-12-08T10:11:12Z
bool IsJournalTime(std::string_view t) {
  static constexpr std::string_view kForm = "dddd-dd-ddTdd:dd:ddZ";
  if (t.size() != kForm.size()) return false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (kForm[i] == 'd' ? (t[i] < '0' || t[i] > '9') : t[i] != kForm[i]) return false;
  }
  return true;
}

void AppendHexByte(std::string& out, std::uint8_t b) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out.push_back(kDigits[b >> 4]);
  out.push_back(kDigits[b & 0xF]);
}

}  // namespace

std::string FormatJournalLine(const JournalEntry& e) {
  std::string line =
      EscapeField(e.time) + '\t' + EscapeField(e.package) + '\t' + EscapeField(e.layer) + '\t' + EscapeField(e.dataFile) + '\t';
  for (std::size_t i = 0; i < e.bytes.size(); ++i) {
    if (i) line.push_back(' ');
    line += PositionText(e.bytes[i].offset) + ':';
    AppendHexByte(line, e.bytes[i].oldValue);
    line.push_back('>');
    AppendHexByte(line, e.bytes[i].newValue);
  }
  return line;
}

std::optional<JournalEntry> ParseJournalLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  const auto fields = SplitAt(line, '\t');
  if (fields.size() != 5) return std::nullopt;
  JournalEntry e;
  std::optional<std::string> parts[4];
  for (int i = 0; i < 4; ++i) {
    parts[i] = UnescapeField(fields[i]);
    if (!parts[i]) return std::nullopt;
  }
  e.time = *parts[0];
  e.package = *parts[1];
  e.layer = *parts[2];
  e.dataFile = *parts[3];
  if (!IsJournalTime(e.time) || e.dataFile.empty() || fields[4].empty()) return std::nullopt;
  const auto items = SplitAt(fields[4], ' ');
  if (items.size() > 5) return std::nullopt;
  for (std::string_view item : items) {
    const std::size_t colon = item.find(':');
    const std::size_t arrow = item.find('>');
    if (colon == std::string_view::npos || arrow == std::string_view::npos || arrow < colon) return std::nullopt;
    const auto offset = OffsetOfPosition(item.substr(0, colon));
    const auto oldValue = HexByte(item.substr(colon + 1, arrow - colon - 1));
    const auto newValue = HexByte(item.substr(arrow + 1));
    if (!offset || !oldValue || !newValue) return std::nullopt;
    for (const JournalByte& earlier : e.bytes) {
      if (earlier.offset == *offset) return std::nullopt;
    }
    e.bytes.push_back({*offset, *oldValue, *newValue});
  }
  return e;
}

std::string JournalTimeNow() {
  using namespace std::chrono;
  const auto now = floor<seconds>(system_clock::now());
  const auto days = floor<std::chrono::days>(now);
  const year_month_day ymd{days};
  const hh_mm_ss hms{now - days};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count()),
                static_cast<int>(hms.seconds().count()));
  return buf;
}

bool FileJournal::Append(const JournalEntry& entry) {
  if (path_.empty()) return false;
  std::error_code ec;
  const std::filesystem::path folder = path_.parent_path();
  if (!folder.empty()) std::filesystem::create_directories(folder, ec);
  StdioFile out(path_, "ab");
  const std::string line = FormatJournalLine(entry) + "\r\n";
  return out && out.Append(line.data(), line.size()) && out.Close();
}

std::optional<std::vector<JournalEntry>> ReadJournal(const std::filesystem::path& path) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  std::vector<JournalEntry> entries;
  const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  for (std::string_view line : SplitAt(text, '\n')) {
    if (auto e = ParseJournalLine(line)) entries.push_back(std::move(*e));
  }
  return entries;
}

}  // namespace atrybuty
