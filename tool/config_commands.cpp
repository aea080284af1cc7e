// scramble, unscramble and layers.

#include <nlohmann/json.hpp>

#include <string_view>

#include "core/config/file_bytes.h"
#include "core/config/layer_table.h"
#include "core/config/profile.h"
#include "core/config/scramble.h"
#include "core/mapfile/line_style_record.h"
#include "core/text/paths.h"
#include "tool/commands.h"
#include "tool/record_json.h"

namespace atrybuty::tool {
namespace {

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::string PadRight(std::string utf8, std::size_t width) {
  std::size_t chars = 0;
  for (unsigned char c : utf8) chars += (c & 0xC0) != 0x80;
  if (chars < width) utf8.append(width - chars, ' ');
  return utf8;
}

}  // namespace

// One routine both ways: the key stream depends on the position only.
int Scramble(const TransformOptions& o) {
  auto bytes = ReadFileBytes(PathFromUtf8(o.in));
  if (!bytes) return Fail(kFailed, "cannot read " + o.in);
  atrybuty::Scramble(*bytes);
  if (!WriteFileBytes(PathFromUtf8(o.out), *bytes)) return Fail(kFailed, "cannot write " + o.out);
  return kOk;
}

int Layers(const LayersOptions& o) {
  auto bytes = ReadFileBytes(PathFromUtf8(o.config));
  if (!bytes) return Fail(kFailed, "cannot read " + o.config);
  Profile profile = Profile::Parse(AsText(*bytes));
  // A clear configuration names its layer count; a scrambled one does not read
  // as a profile at all.
  const bool looksClear = !profile.Get("Global", "MapCount", kConfigValueBuffer).empty();
  if (o.scrambled || (!o.clear && !looksClear)) {
    atrybuty::Scramble(*bytes);
    profile = Profile::Parse(AsText(*bytes));
  }
  const auto result = LoadLayerTable(profile);
  if (const auto* failure = std::get_if<LayerTableFailure>(&result))
    return Fail(kFailed, o.config + ": " + Describe(*failure));
  const LayerTable& table = std::get<LayerTable>(result);

  std::optional<std::filesystem::path> dataDir;
  if (o.dataDir) dataDir = PathFromUtf8(*o.dataDir);
  const TextCodec& codec = SystemCodec();
  nlohmann::json json = {{"configuration", o.config}, {"layers", nlohmann::json::array()}};
  std::string text = std::to_string(table.LayerCount()) + " layers\n";
  for (int i = 1; i <= table.LayerCount(); ++i) {
    const Layer& layer = table.entries[i];
    const std::string name = codec.AnsiToUtf8(layer.name), file = codec.AnsiToUtf8(layer.fileName);
    nlohmann::json item = {{"number", i}, {"name", name}, {"dataFile", file}};
    std::string line = std::to_string(i);
    line.insert(0, line.size() < 5 ? 5 - line.size() : 0, ' ');
    line += "  " + PadRight(name, 28) + "  " + PadRight(file, 14);
    if (dataDir) {
      const RecordRead read = ReadLineStyleRecord(Files(), *dataDir / PathFromUtf8(file));
      item["record"] = RecordJson(read);
      line += "  " + RecordSummary(read);
    }
    json["layers"].push_back(std::move(item));
    text += line + "\n";
  }
  Print(o.json ? json.dump(2) + "\n" : text);
  return kOk;
}

}  // namespace atrybuty::tool
