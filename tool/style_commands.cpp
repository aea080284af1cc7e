// export and import: a package's line styles as the text file that
// LineStyles.Export and LineStyles.Import read and write too.

#include <nlohmann/json.hpp>

#include "core/config/file_bytes.h"
#include "core/config/package_configuration.h"
#include "core/config/profile.h"
#include "core/config/scramble.h"
#include "core/mapfile/package_styles.h"
#include "core/text/paths.h"
#include "tool/commands.h"

#ifdef _WIN32
#include "win32/config/win_registry.h"
#endif

namespace atrybuty::tool {
namespace {

// A configuration file, scrambled or clear.
std::optional<LayerTable> TableOfFile(const std::string& path, std::string& why) {
  auto bytes = ReadFileBytes(PathFromUtf8(path));
  if (!bytes) {
    why = "cannot read " + path;
    return std::nullopt;
  }
  auto parse = [&] {
    return LoadLayerTable(Profile::Parse(std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size())));
  };
  auto table = parse();
  if (std::holds_alternative<LayerTableFailure>(table)) {
    atrybuty::Scramble(*bytes);
    table = parse();
  }
  if (const auto* failure = std::get_if<LayerTableFailure>(&table)) {
    why = path + ": " + Describe(*failure);
    return std::nullopt;
  }
  return std::get<LayerTable>(std::move(table));
}

// The package named (UTF-8): from --config and --data-dir when given, else
// installed on this computer.
std::optional<PackageStyles> Open(const std::string& name, const StyleOptions& o, int& code) {
  std::optional<LayerTable> table;
  std::optional<std::filesystem::path> dataDir;
  if (o.dataDir) dataDir = PathFromUtf8(*o.dataDir);
  if (o.config) {
    std::string why;
    table = TableOfFile(*o.config, why);
    if (!table) {
      code = Fail(kFailed, why);
      return std::nullopt;
    }
  } else {
#ifdef _WIN32
    win32::WinRegistry registry;
    auto loaded = LoadInstalledPackage(registry, SystemCodec().Utf8ToAnsi(name), SystemCodec());
    if (const auto* failure = std::get_if<PackageFailure>(&loaded)) {
      code = Fail(kFailed, failure->error == PackageError::NotInstalled
                               ? "no package \"" + name + "\" is installed"
                               : "the configuration of package \"" + name + "\" cannot be read");
      return std::nullopt;
    }
    table = std::get<LayerTable>(std::move(loaded));
#else
    code = Fail(kUsage, "name the package's configuration with --config (and its data folder with --data-dir)");
    return std::nullopt;
#endif
  }
  if (!dataDir) dataDir = MapDataDirectory();
  if (!dataDir) {
    code = Fail(kUsage, "the map data folder is unknown here: name it with --data-dir");
    return std::nullopt;
  }
  return PackageStyles(Files(), SystemCodec(), name, std::move(*table), *dataDir);
}

const char* OutcomeName(ImportOutcome outcome) {
  switch (outcome) {
    case ImportOutcome::Changed:
      return "changed";
    case ImportOutcome::Unchanged:
      return "unchanged";
    case ImportOutcome::Refused:
      break;
  }
  return "refused";
}

}  // namespace

int Export(const StyleOptions& o) {
  int code = kOk;
  auto package = Open(o.package.value_or("-"), o, code);
  if (!package) return code;
  const std::string text = FormatStyleFile(package->Export());
  if (!WriteFileBytes(PathFromUtf8(o.file), std::vector<std::uint8_t>(text.begin(), text.end())))
    return Fail(kFailed, "cannot write " + o.file);
  Print("Exported " + std::to_string(package->LayerCount()) + " layers of \"" + package->Name() + "\" to " + o.file +
        "\n");
  return kOk;
}

int Import(const StyleOptions& o) {
  const auto text = ReadFileText(PathFromUtf8(o.file));
  if (!text) return Fail(kFailed, "cannot read " + o.file);
  const auto parsed = ParseStyleFile(*text);
  if (const auto* error = std::get_if<StyleFileError>(&parsed)) {
    return Fail(kFailed, o.file + ": line " + std::to_string(error->line) + ": " + error->why + "; nothing written");
  }
  const StyleFile& styles = std::get<StyleFile>(parsed);
  int code = kOk;
  auto package = Open(o.package.value_or(styles.package), o, code);
  if (!package) return code;
  const std::filesystem::path journalPath = o.journal ? PathFromUtf8(*o.journal) : DefaultJournalPath();
  FileJournal journal(journalPath, Utf8FromPath(journalPath));
  const auto results = package->Import(styles, o.layers.empty() ? std::nullopt : std::optional(o.layers), journal);
  bool refused = false;
  nlohmann::json json = {{"package", package->Name()}, {"layers", nlohmann::json::array()}};
  std::string report;
  for (const ImportResult& r : results) {
    refused = refused || r.outcome == ImportOutcome::Refused;
    json["layers"].push_back({{"layer", r.layer}, {"result", OutcomeName(r.outcome)}, {"reason", r.reason}});
    report += r.layer + ": " + OutcomeName(r.outcome) + (r.reason.empty() ? "" : " (" + r.reason + ")") + "\n";
  }
  Print(o.json ? json.dump(2) + "\n" : report);
  return refused ? kRefused : kOk;
}

}  // namespace atrybuty::tool
