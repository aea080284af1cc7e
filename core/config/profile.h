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
// Lookups cost a hash probe, so a file of many sections loads in linear time.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace atrybuty {

class Profile {
 public:
  static Profile Parse(std::string_view text);
  static Profile Parse(std::string&& text);  // takes the text over, no copy

  // The value as GetPrivateProfileStringA returns it into a buffer of
  // `bufferSize` characters: empty when the section or key is missing.
  std::string Get(std::string_view section, std::string_view key, std::size_t bufferSize) const;

  // Named and unnamed sections, duplicates included.
  std::size_t SectionCount() const { return sections_.size() - 1; }

 private:
  struct Key {
    std::string_view name;
    std::string_view value;
  };
  struct Section {
    std::size_t firstKey = 0;
    std::size_t keyCount = 0;
  };

  // Owns every view below; on the heap so that moving a Profile keeps them valid.
  std::unique_ptr<const std::string> text_;
  std::vector<Key> keys_;
  std::vector<Section> sections_;
  // Lower-cased section name -> the first section of that name.
  std::unordered_map<std::string, std::size_t> index_;
};

// Blanks as the Windows profile reader trims them.
bool IsProfileBlank(unsigned char c);

}  // namespace atrybuty
