// atrybuty-tool: package makers' and support staff's tool over the core.

#include <cstdio>
#include <cstring>
#include <string>

#include "tool/commands.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace atrybuty::tool {

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "atrybuty-tool: %s\n", message.c_str());
  return code;
}

namespace {

constexpr char kHelp[] =
    "atrybuty-tool: map package configurations and line-style records\n"
    "\n"
    "usage: atrybuty-tool COMMAND [ARGS]\n"
    "\n"
    "  scramble IN OUT          scramble a clear package configuration\n"
    "  unscramble IN OUT        turn a scrambled configuration into clear text\n"
    "  layers CONFIG [--clear|--scrambled] [--data-dir DIR]\n"
    "                           list a package's layers and data files (the form\n"
    "                           is detected unless given); with --data-dir, also\n"
    "                           each layer's current line style\n"
    "  show DATAFILE            a data file's line-style record\n"
    "  set DATAFILE [--thickness N] [--style N] [--color #RRGGBB|DECIMAL] [--journal PATH]\n"
    "                           patch a record (only the named bytes change),\n"
    "                           recorded in the change journal first\n"
    "  history [--journal PATH] the changes the component recorded before writing\n"
    "  undo N [--journal PATH]  restore the bytes change N replaced, if the file\n"
    "                           still holds what that change wrote\n"
#ifdef _WIN32
    "  install-package NAME CONFIG\n"
    "                           register a map package: add NAME to MRUList and\n"
    "                           store the scrambled configuration's path\n"
    "  remove-package NAME      unregister a map package\n"
#endif
    "\n"
    "Exit codes: 0 done, 1 failed, 2 wrong arguments, 3 the data file has no record.\n";

struct Command {
  const char* name;
  int (*run)(const Args&);
};

constexpr Command kCommands[] = {
    {"scramble", Scramble},
    {"unscramble", Unscramble},
    {"layers", Layers},
    {"show", Show},
    {"set", Set},
    {"history", History},
    {"undo", Undo},
#ifdef _WIN32
    {"install-package", InstallPackage},
    {"remove-package", RemovePackage},
#endif
};

}  // namespace
}  // namespace atrybuty::tool

int main(int argc, char** argv) {
  using namespace atrybuty::tool;
#ifdef _WIN32
  SetConsoleOutputCP(CP_UTF8);
#endif
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "help")) {
    std::fputs(kHelp, argc < 2 ? stderr : stdout);
    return argc < 2 ? kUsage : kOk;
  }
  const Args args(argv + 2, argv + argc);
  for (const Command& c : kCommands) {
    if (!std::strcmp(argv[1], c.name)) return c.run(args);
  }
  return Fail(kUsage, std::string("unknown command \"") + argv[1] + "\"; see atrybuty-tool --help");
}
