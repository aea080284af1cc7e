// atrybuty-tool: package makers' and support staff's tool over the core.
// Arguments are read as Unicode (wide on Windows) and kept as UTF-8;
// output is UTF-8.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>
#include <vector>

#include "core/mapfile/colour.h"
#include "tool/commands.h"

#ifdef _WIN32
#include <windows.h>

#include "win32/text/ansi_codec.h"
#endif

#ifndef ATRYBUTY_VERSION
#define ATRYBUTY_VERSION "0"
#endif

namespace atrybuty::tool {

int Fail(int code, const std::string& message) {
  std::fprintf(stderr, "atrybuty-tool: %s\n", message.c_str());
  return code;
}

void Print(const std::string& text) { std::fputs(text.c_str(), stdout); }

namespace {

constexpr char kExitCodes[] =
    "Exit codes: 0 done, 1 failed (a file cannot be read or written, or holds bad data), 2 wrong arguments,\n"
    "3 the data file holds no line-style record, 4 refused (the file no longer holds what the command\n"
    "relies on; nothing written), 5 the command needs Windows.";

// "#RRGGBB" (web order) or a decimal colour value, as the dialog's colour.
struct ColourValidator : CLI::Validator {
  ColourValidator() : CLI::Validator("#RRGGBB|DECIMAL") {
    func_ = [](std::string& text) {
      return ParseColourArgument(text) ? std::string() : "not #RRGGBB nor a decimal colour up to 16777215: " + text;
    };
  }
};

// A change's number: digits only, from 1 up.
struct ChangeNumberValidator : CLI::Validator {
  ChangeNumberValidator() : CLI::Validator("N") {
    func_ = [](std::string& text) {
      const bool digits = !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
      return digits && std::stoul(text) >= 1 ? std::string() : "not a change number (1, 2, ...): " + text;
    };
  }
};

int Run(std::vector<std::string> args) {
  CLI::App app{"atrybuty-tool: map package configurations and line-style records", "atrybuty-tool"};
  app.set_version_flag("--version", std::string("atrybuty-tool ") + ATRYBUTY_VERSION);
  app.footer(kExitCodes);
  // Paths such as /tmp/a.dat are arguments, not "/option"s, on Windows too.
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  int code = kOk;

  TransformOptions transform;
  for (const char* verb : {"scramble", "unscramble"}) {
    auto* c = app.add_subcommand(verb, std::string(verb) == "scramble" ? "scramble a clear package configuration"
                                                                       : "turn a scrambled configuration into clear text");
    c->add_option("IN", transform.in, "the file to read")->required();
    c->add_option("OUT", transform.out, "the file to write")->required();
    c->callback([&] { code = Scramble(transform); });
  }

  LayersOptions layers;
  auto* layersCommand =
      app.add_subcommand("layers", "a package's layers and data files (the form is detected unless given)");
  layersCommand->add_option("CONFIG", layers.config, "the package configuration")->required();
  auto* clear = layersCommand->add_flag("--clear", layers.clear, "the configuration is clear text");
  layersCommand->add_flag("--scrambled", layers.scrambled, "the configuration is scrambled")->excludes(clear);
  layersCommand->add_option("--data-dir", layers.dataDir, "also each layer's current line style, from this folder");
  layersCommand->add_flag("--json", layers.json, "as JSON");
  layersCommand->callback([&] { code = Layers(layers); });

  ShowOptions show;
  auto* showCommand = app.add_subcommand("show", "a data file's line-style record");
  showCommand->add_option("DATAFILE", show.file, "the data file")->required();
  showCommand->add_flag("--json", show.json, "as JSON");
  showCommand->callback([&] { code = Show(show); });

  SetOptions set;
  std::string colourText;
  auto* setCommand = app.add_subcommand(
      "set", "change a record's thickness, style or colour, recorded in the change journal first");
  setCommand->add_option("DATAFILE", set.file, "the data file")->required();
  setCommand->add_option("--thickness", set.thickness, "1 to 7, the picture positions the dialog shows (0: none)")
      ->check(CLI::Range(0, 7));
  setCommand->add_option("--style", set.style, "1 to 77, the picture positions the dialog shows (0: none)")
      ->check(CLI::Range(0, 77));
  setCommand->add_option("--color,--colour", colourText, "#RRGGBB (web order) or a decimal value")
      ->check(ColourValidator());
  setCommand->add_option("--journal", set.journal, "another change journal");
  setCommand->callback([&] {
    if (!colourText.empty()) set.colour = ParseColourArgument(colourText);
    if (!set.thickness && !set.style && !set.colour) {
      code = Fail(kUsage, "set: name at least one of --thickness, --style, --color");
      return;
    }
    code = Set(set);
  });

  HistoryOptions history;
  auto* historyCommand = app.add_subcommand("history", "the changes recorded in the change journal, numbered");
  historyCommand->add_option("--journal", history.journal, "another change journal");
  historyCommand->add_flag("--json", history.json, "as JSON");
  historyCommand->callback([&] { code = History(history); });

  UndoOptions undo;
  auto* undoCommand = app.add_subcommand(
      "undo", "restore what change N replaced, if the file still holds what that change wrote");
  undoCommand->add_option("N", undo.change, "the change's number in the history")
      ->required()
      ->check(ChangeNumberValidator());
  undoCommand->add_option("--journal", undo.journal, "another change journal");
  auto* file = undoCommand->add_option("--file", undo.file, "restore into this data file, wherever it lies");
  undoCommand->add_option("--data-dir", undo.dataDir, "the map data folder the journal's files must lie in")
      ->excludes(file);
  undoCommand->callback([&] { code = Undo(undo); });

  StyleOptions exportOptions;
  auto* exportCommand = app.add_subcommand(
      "export", "write a package's line styles (the bytes its data files hold) to a text file");
  exportCommand->add_option("OUT", exportOptions.file, "the file to write")->required();
  exportCommand->add_option("--package", exportOptions.package,
                            "the package: on Windows an installed one, unless --config names its configuration")
      ->required();
  exportCommand->add_option("--config", exportOptions.config, "the package's configuration instead of the registry");
  exportCommand->add_option("--data-dir", exportOptions.dataDir, "its data folder (on Windows: the map data folder)");
  exportCommand->callback([&] { code = Export(exportOptions); });

  StyleOptions importOptions;
  auto* importCommand = app.add_subcommand(
      "import", "write the line styles of an export back, exactly; nothing when the file does not read");
  importCommand->add_option("IN", importOptions.file, "the exported file")->required();
  importCommand->add_option("--layer", importOptions.layers, "only this layer (repeat for more)");
  importCommand->add_option("--package", importOptions.package, "another package than the file names");
  importCommand->add_option("--config", importOptions.config, "the package's configuration instead of the registry");
  importCommand->add_option("--data-dir", importOptions.dataDir, "its data folder (on Windows: the map data folder)");
  importCommand->add_option("--journal", importOptions.journal, "another change journal");
  importCommand->add_flag("--json", importOptions.json, "as JSON");
  importCommand->callback([&] { code = Import(importOptions); });

  PackageOptions package;
  auto* install = app.add_subcommand(
      "install-package", "(Windows) register a map package: NAME into MRUList, the configuration's path");
  install->add_option("NAME", package.name, "the package's name")->required();
  install->add_option("CONFIG", package.config, "its scrambled configuration")->required();
  install->callback([&] { code = InstallPackage(package); });
  auto* remove = app.add_subcommand("remove-package", "(Windows) unregister a map package");
  remove->add_option("NAME", package.name, "the package's name")->required();
  remove->callback([&] { code = RemovePackage(package); });

  const auto named = [&](const CLI::App* c) { return !args.empty() && c->get_name() == args.front(); };
  if (!args.empty() && !args.front().starts_with("-") && app.get_subcommands(named).empty()) {
    return Fail(kUsage, "unknown command \"" + args.front() + "\"; see atrybuty-tool --help");
  }
  try {
    std::reverse(args.begin(), args.end());  // CLI11 takes the arguments last first
    app.parse(args);
  } catch (const CLI::Success& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kUsage;
  }
  return code;
}

}  // namespace
}  // namespace atrybuty::tool

#ifdef _WIN32
namespace {

// The console shows UTF-8 while the tool runs and what it showed before, after.
class ConsoleOutputCodePage {
 public:
  ConsoleOutputCodePage() : previous_(GetConsoleOutputCP()) { SetConsoleOutputCP(CP_UTF8); }
  ~ConsoleOutputCodePage() {
    if (previous_) SetConsoleOutputCP(previous_);
  }
  ConsoleOutputCodePage(const ConsoleOutputCodePage&) = delete;
  ConsoleOutputCodePage& operator=(const ConsoleOutputCodePage&) = delete;

 private:
  UINT previous_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  ConsoleOutputCodePage console;
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(atrybuty::win32::WideToUtf8(argv[i]));
  try {
    return atrybuty::tool::Run(std::move(args));
  } catch (const std::exception& e) {
    return atrybuty::tool::Fail(atrybuty::tool::kFailed, std::string("unexpected failure: ") + e.what());
  }
}
#else
int main(int argc, char** argv) {
  try {
    return atrybuty::tool::Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    return atrybuty::tool::Fail(atrybuty::tool::kFailed, std::string("unexpected failure: ") + e.what());
  }
}
#endif
