#pragma once
// Subcommands of atrybuty-tool. Each returns the process exit code.

#include <string>
#include <vector>

namespace atrybuty::tool {

enum ExitCode {
  kOk = 0,
  kFailed = 1,    // a file could not be read or written, or holds bad data
  kUsage = 2,     // wrong arguments
  kNoRecord = 3,  // the data file holds no line-style record
};

using Args = std::vector<std::string>;

int Scramble(const Args& args);
int Unscramble(const Args& args);
int Layers(const Args& args);
int Show(const Args& args);
int Set(const Args& args);
int History(const Args& args);
int Undo(const Args& args);
#ifdef _WIN32
int InstallPackage(const Args& args);
int RemovePackage(const Args& args);
#endif

// Prints "atrybuty-tool: <message>" on stderr and returns `code`.
int Fail(int code, const std::string& message);

}  // namespace atrybuty::tool
