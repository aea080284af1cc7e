#include "win32/command_line.h"

#include <windows.h>
#include <shellapi.h>

namespace atrybuty::win32 {

std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
  std::wstring out = L"\"";
  for (auto it = argument.begin();; ++it) {
    std::size_t backslashes = 0;
    while (it != argument.end() && *it == L'\\') {
      ++it;
      ++backslashes;
    }
    if (it == argument.end()) {
      out.append(backslashes * 2, L'\\');  // they come before the closing quote
      break;
    }
    if (*it == L'"') {
      out.append(backslashes * 2 + 1, L'\\');
    } else {
      out.append(backslashes, L'\\');
    }
    out.push_back(*it);
  }
  out.push_back(L'"');
  return out;
}

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
  // CommandLineToArgvW reads the first word as a program name by other rules.
  const std::wstring line = L"x " + commandLine;
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(line.c_str(), &count);
  std::vector<std::wstring> args;
  for (int i = 1; words && i < count; ++i) args.emplace_back(words[i]);
  LocalFree(words);
  return args;
}

}  // namespace atrybuty::win32
