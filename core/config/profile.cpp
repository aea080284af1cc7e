#include "core/config/profile.h"

#include <algorithm>
#include <cstring>

namespace atrybuty {
namespace {

unsigned char LowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(static_cast<unsigned char>(a[i])) != LowerAscii(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

// Text is scanned a machine word at a time: a line's end, "=" and NUL are
// found with a few operations per word instead of per byte.
using Word = std::size_t;
constexpr Word kOnes = ~Word{0} / 0xFF;  // 0x0101...01
constexpr Word kHighs = kOnes * 0x80;

Word LoadWord(const char* p) {
  Word w;
  std::memcpy(&w, p, sizeof w);
  return w;
}
// Whether a byte of `w` is below `limit` (at most 0x80); never a false alarm.
bool HasByteBelow(Word w, unsigned limit) { return ((w - kOnes * limit) & ~w & kHighs) != 0; }
bool HasByte(Word w, unsigned char c) { return HasByteBelow(w ^ (kOnes * c), 1); }

// A hash that is the same for names equal without regard to ASCII case: every
// byte is taken with 0x20 set, which turns capitals into small letters (and
// merges a few other pairs, which the comparison of the names tells apart).
std::uint32_t HashNoCase(std::string_view s) {
  Word h = s.size();
  std::size_t n = 0;
  for (; n + sizeof(Word) <= s.size(); n += sizeof(Word)) h = (h ^ (LoadWord(s.data() + n) | kOnes * 0x20)) * 0x9E3779B1u;
  Word tail = 0;
  if (n < s.size()) std::memcpy(&tail, s.data() + n, s.size() - n);
  h = (h ^ (tail | kOnes * 0x20)) * 0x9E3779B1u;
  // Fold so that every byte reaches the low bits the table is indexed by.
  std::uint32_t folded = static_cast<std::uint32_t>(h ^ (h >> (sizeof(Word) * 4)));
  folded ^= folded >> 15;
  folded *= 0x85EBCA6Bu;
  return folded ^ (folded >> 13);
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsProfileBlank(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && IsProfileBlank(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// Where `c` first is in `s`, or its size. Lines are short: this beats a
// library call into the C runtime (a DLL on Windows).
std::size_t Position(std::string_view s, char c) {
  std::size_t n = 0;
  while (n + sizeof(Word) <= s.size() && !HasByte(LoadWord(s.data() + n), static_cast<unsigned char>(c)))
    n += sizeof(Word);
  while (n < s.size() && s[n] != c) ++n;
  return n;
}

// Names and values are C strings to the Windows reader.
std::string_view CutAtNul(std::string_view s) { return s.substr(0, Position(s, '\0')); }

// The length of the first line of `s`: up to its CR or LF.
std::size_t LineLength(std::string_view s) {
  std::size_t n = 0;
  for (;;) {
    // Words without any control character up to CR hold no line end.
    while (n + sizeof(Word) <= s.size() && !HasByteBelow(LoadWord(s.data() + n), '\r' + 1)) n += sizeof(Word);
    const std::size_t stop = std::min(s.size(), n + sizeof(Word));
    for (; n < stop; ++n) {
      if (s[n] == '\r' || s[n] == '\n') return n;
    }
    if (n == s.size()) return n;
  }
}

// Takes the first line off `rest`, with its end.
std::string_view NextLine(std::string_view& rest) {
  const std::size_t n = LineLength(rest);
  const std::string_view line = rest.substr(0, n);
  rest.remove_prefix(std::min(n + 1, rest.size()));
  return line;
}

// A value as the reader copies it into a buffer of `bufferSize` (at least 1).
std::string_view CutToBuffer(std::string_view v, std::size_t bufferSize) {
  const bool quoted = v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
  if (quoted) v.remove_prefix(1);
  std::string_view out = v.substr(0, std::min(v.size(), bufferSize - 1));
  // The reader drops the last character it copied when the closing quote
  // could have fitted; with a value exactly as long as the buffer that is a
  // character of the value itself, and we keep that quirk.
  if (quoted && bufferSize >= v.size() && !out.empty()) out.remove_suffix(1);
  return out;
}

}  // namespace

bool IsProfileBlank(unsigned char c) {
  // Space, tab to carriage return, and the DOS end-of-file mark; measured
  // against the platform's reader byte by byte (the no-break space is no blank).
  return c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0x1A;
}

Profile Profile::Parse(std::string_view text) { return Parse(std::string(text)); }

Profile Profile::Parse(std::string&& text) {
  Profile p;
  p.text_ = std::make_unique<const std::string>(std::move(text));
  const std::string_view all(*p.text_);

  // Keys before the first section header belong to a section without a name.
  // Only the section lines matter here: a section's other lines are read
  // when a key in it is looked up.
  p.sections_.push_back(Section{});
  std::string_view rest = all;
  const char* body = all.data();
  while (!rest.empty()) {
    const char* lineStart = rest.data();
    std::string_view line = NextLine(rest);
    while (!line.empty() && IsProfileBlank(static_cast<unsigned char>(line.front()))) line.remove_prefix(1);
    if (line.empty() || line.front() != '[') continue;
    const std::size_t close = Position(line, ']');
    if (close == line.size()) continue;  // a "[" without "]" is an ordinary line
    p.sections_.back().body = std::string_view(body, static_cast<std::size_t>(lineStart - body));
    p.sections_.push_back(Section{CutAtNul(Trimmed(line.substr(1, close - 1))), {}, 0});
    body = rest.data();
  }
  p.sections_.back().body = std::string_view(body, static_cast<std::size_t>(all.data() + all.size() - body));
  p.IndexSections();
  return p;
}

void Profile::IndexSections() {
  std::size_t capacity = 8;
  while (capacity < 2 * sections_.size()) capacity *= 2;
  slots_.assign(capacity, 0);
  const std::size_t mask = capacity - 1;
  for (std::size_t i = 0; i < sections_.size(); ++i) {
    Section& s = sections_[i];
    s.hash = HashNoCase(s.name);
    for (std::size_t slot = s.hash & mask;; slot = (slot + 1) & mask) {
      if (slots_[slot] == 0) {
        slots_[slot] = i + 1;
        break;
      }
      const Section& first = sections_[slots_[slot] - 1];
      if (first.hash == s.hash && EqualNoCase(first.name, s.name)) break;  // a later one is never searched
    }
  }
}

const Profile::Section* Profile::FindSection(std::string_view name) const {
  const std::uint32_t hash = HashNoCase(name);
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = hash & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
    const Section& s = sections_[slots_[slot] - 1];
    if (s.hash == hash && EqualNoCase(s.name, name)) return &s;
  }
  return nullptr;
}

std::string Profile::Get(std::string_view section, std::string_view key, std::size_t bufferSize) const {
  return std::string(Find(section, key, bufferSize));
}

std::string_view Profile::Find(std::string_view section, std::string_view key, std::size_t bufferSize) const {
  std::string_view value;
  FindKeys(section, &key, &value, 1, bufferSize);
  return value;
}

// One probe for the section, then one read of its lines, in which the first
// line of each wanted name gives that name's value.
void Profile::FindKeys(std::string_view section, const std::string_view* keys, std::string_view* values,
                       std::size_t count, std::size_t bufferSize) const {
  if (bufferSize == 0) return;
  const Section* s = FindSection(Trimmed(section));
  if (!s) return;
  std::array<std::string_view, kMaxKeysAtOnce> wanted;
  for (std::size_t i = 0; i < count; ++i) wanted[i] = Trimmed(keys[i]);
  std::uint32_t missing = count == kMaxKeysAtOnce ? ~std::uint32_t{0} : (std::uint32_t{1} << count) - 1;
  std::string_view rest = s->body;
  while (missing != 0 && !rest.empty()) {
    const std::string_view line = Trimmed(NextLine(rest));
    if (line.empty()) continue;
    const std::size_t eq = Position(line, '=');
    const std::string_view name = CutAtNul(eq == line.size() ? line : Trimmed(line.substr(0, eq)));
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint32_t bit = std::uint32_t{1} << i;
      if (!(missing & bit) || !EqualNoCase(name, wanted[i])) continue;
      missing &= ~bit;
      // A line without "=" is a key without value.
      if (eq < line.size()) values[i] = CutToBuffer(CutAtNul(Trimmed(line.substr(eq + 1))), bufferSize);
    }
  }
}

}  // namespace atrybuty
