#pragma once
// The change journal: before the bytes of a data file change, one line is
// appended saying what they were and what they become, so every original
// line style can be restored.
//
// A line holds tab-separated fields (UTF-8; tabs, line breaks and
// backslashes in text escaped as \t, \n, \r and \\):
//   time (UTC, ISO 8601)  package  layer  data file  bytes
// where bytes is a space-separated list of position:old>new, the position as
// a position text and the values as two hexadecimal digits, e.g. 50E:03>04.
// The component and the tool write all five bytes of a record, in the
// record's order (thickness, style, red, green, blue); the data file is named
// by its absolute path.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace atrybuty {

struct JournalByte {
  std::uint32_t offset = 0;  // 0-based
  std::uint8_t oldValue = 0;
  std::uint8_t newValue = 0;
  friend bool operator==(const JournalByte&, const JournalByte&) = default;
};

struct JournalEntry {
  std::string time;
  std::string package;
  std::string layer;
  std::string dataFile;
  std::vector<JournalByte> bytes;
  friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

std::string FormatJournalLine(const JournalEntry& entry);
// Nothing for a line that is not one the journal writes: five fields, a time
// of the journal's form, a data file, one to five bytes at distinct positions.
std::optional<JournalEntry> ParseJournalLine(std::string_view line);

// The current time as the journal writes it: 2026-12-08T10:11:12Z.
std::string JournalTimeNow();

class Journal {
 public:
  virtual ~Journal() = default;
  // False when the line could not be written.
  virtual bool Append(const JournalEntry& entry) = 0;
  virtual std::string Location() const = 0;  // for messages (UTF-8)
  // The journal's file, when it has one.
  virtual std::filesystem::path File() const { return {}; }
};

// A journal in a text file, created with its folder on first use.
class FileJournal final : public Journal {
 public:
  // `shownPath` is how messages name the file (UTF-8).
  FileJournal(std::filesystem::path path, std::string shownPath)
      : path_(std::move(path)), shown_(std::move(shownPath)) {}
  bool Append(const JournalEntry& entry) override;
  std::string Location() const override { return shown_; }
  std::filesystem::path File() const override { return path_; }

 private:
  std::filesystem::path path_;
  std::string shown_;
};

// Every readable line of a journal file, in order; lines that do not parse
// are skipped. Nothing when the file cannot be read.
std::optional<std::vector<JournalEntry>> ReadJournal(const std::filesystem::path& path);

}  // namespace atrybuty
