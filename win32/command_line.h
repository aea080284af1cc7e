#pragma once
// Command lines as Windows programs split them (CommandLineToArgvW).

#include <string>
#include <vector>

namespace atrybuty::win32 {

// One argument, quoted so that it comes back exactly as it is.
std::wstring QuoteArgument(const std::wstring& argument);
// The arguments of a command line after the program's name.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

}  // namespace atrybuty::win32
