#pragma once
// A profile (INI) file parsed once and queried with the rules of the Windows
// profile reader (GetPrivateProfileStringA with an empty default):
//  - lines end at CR or LF; blanks at both ends of a line are ignored;
//  - "[name]" starts a section named by the trimmed text between the
//    brackets; text after "]" is ignored; keys before the first section
//    belong to a section without a name;
//  - "key = value": key and value trimmed; a line without "=" is a key
//    without value; text after a NUL is ignored;
//  - section and key names are looked up trimmed and match without regard
//    to case (ASCII letters, which is all we look up); only the first
//    section of a name is searched, and the first key of a name in it wins;
//  - a value enclosed in matching single or double quotes loses them;
//  - a value is cut to (buffer size - 1) characters.
// Parsing finds the sections and indexes the first of each name in one hash
// table; a lookup probes it once and reads that section's few lines again.
// Nothing is copied or lowered per section or key, so the cost of a load is
// the same for every section, however many there are.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace atrybuty {

class Profile {
 public:
  static Profile Parse(std::string_view text);
  static Profile Parse(std::string&& text);  // takes the text over, no copy

  // The value as GetPrivateProfileStringA returns it into a buffer of
  // `bufferSize` characters: empty when the section or key is missing.
  std::string Get(std::string_view section, std::string_view key, std::size_t bufferSize) const;
  // The same value as a view into the parsed text; valid while the profile lives.
  std::string_view Find(std::string_view section, std::string_view key, std::size_t bufferSize) const;
  // Several keys of one section for the cost of one lookup: the value Find
  // gives for each, in the order of `keys`.
  template <std::size_t N>
  std::array<std::string_view, N> FindKeys(std::string_view section, const std::string_view (&keys)[N],
                                           std::size_t bufferSize) const {
    static_assert(N >= 1 && N <= kMaxKeysAtOnce);
    std::array<std::string_view, N> values{};
    FindKeys(section, keys, values.data(), N, bufferSize);
    return values;
  }

  // Named and unnamed sections, duplicates included.
  std::size_t SectionCount() const { return sections_.size() - 1; }

 private:
  struct Section {
    std::string_view name;  // trimmed, up to a NUL
    std::string_view body;  // its lines, up to the next section's line
    std::uint32_t hash = 0;
  };

  static constexpr std::size_t kMaxKeysAtOnce = 32;  // one bit each in a mask

  void IndexSections();
  const Section* FindSection(std::string_view name) const;
  void FindKeys(std::string_view section, const std::string_view* keys, std::string_view* values, std::size_t count,
                std::size_t bufferSize) const;

  // Owns every view; on the heap so that moving a Profile keeps them valid.
  std::unique_ptr<const std::string> text_;
  std::vector<Section> sections_;  // [0]: the keys before any section
  // Open addressing over sections_: the position + 1 of the first section of
  // each name, 0 for a free slot; a power of two, at most half full.
  std::vector<std::size_t> slots_;
};

// Blanks as the Windows profile reader trims them.
bool IsProfileBlank(unsigned char c);

}  // namespace atrybuty
