#include "core/config/profile.h"

#include <algorithm>

namespace atrybuty {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
  return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsProfileBlank(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && IsProfileBlank(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// Names and values are C strings to the Windows reader.
std::string_view CutAtNul(std::string_view s) {
  const auto nul = s.find('\0');
  return nul == std::string_view::npos ? s : s.substr(0, nul);
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
  p.sections_.push_back(Section{0, 0});
  p.index_.try_emplace(std::string(), 0);

  std::size_t pos = 0;
  while (pos < all.size()) {
    const std::size_t end = all.find_first_of("\r\n", pos);
    const std::size_t lineEnd = end == std::string_view::npos ? all.size() : end;
    std::string_view line = Trimmed(all.substr(pos, lineEnd - pos));
    pos = lineEnd + 1;
    if (line.empty()) continue;

    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      if (close != std::string_view::npos) {
        const std::string_view name = CutAtNul(Trimmed(line.substr(1, close - 1)));
        p.sections_.push_back(Section{p.keys_.size(), 0});
        p.index_.try_emplace(Lowered(name), p.sections_.size() - 1);
        continue;
      }
      // A "[" without "]" is an ordinary line.
    }
    Key key;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
      key.name = CutAtNul(line);
    } else {
      key.name = CutAtNul(Trimmed(line.substr(0, eq)));
      key.value = CutAtNul(Trimmed(line.substr(eq + 1)));
    }
    p.keys_.push_back(key);
    ++p.sections_.back().keyCount;
  }
  return p;
}

std::string Profile::Get(std::string_view section, std::string_view key, std::size_t bufferSize) const {
  if (bufferSize == 0) return {};
  const auto it = index_.find(Lowered(Trimmed(section)));
  if (it == index_.end()) return {};
  const Section& s = sections_[it->second];
  const std::string_view wanted = Trimmed(key);
  for (std::size_t i = s.firstKey; i < s.firstKey + s.keyCount; ++i) {
    if (!EqualNoCase(keys_[i].name, wanted)) continue;
    std::string_view v = keys_[i].value;
    const bool quoted = v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
    if (quoted) v.remove_prefix(1);
    std::string out(v.substr(0, std::min(v.size(), bufferSize - 1)));
    // The reader drops the last character it copied when the closing quote
    // could have fitted; with a value exactly as long as the buffer that is a
    // character of the value itself, and we keep that quirk.
    if (quoted && bufferSize >= v.size() && !out.empty()) out.pop_back();
    return out;
  }
  return {};
}

}  // namespace atrybuty
