// scramble, unscramble and layers.

#include <cstdio>
#include <string_view>

#include "core/config/file_bytes.h"
#include "core/config/profile.h"
#include "core/config/scramble.h"
#include "core/config/layer_table.h"
#include "core/mapfile/line_style_record.h"
#include "tool/commands.h"
#include "tool/record_text.h"
#include "tool/system_codec.h"

namespace atrybuty::tool {
namespace {

int Transform(const Args& args, const char* verb) {
  if (args.size() != 2) return Fail(kUsage, std::string("usage: atrybuty-tool ") + verb + " IN OUT");
  auto bytes = ReadFileBytes(args[0]);
  if (!bytes) return Fail(kFailed, "cannot read " + args[0]);
  atrybuty::Scramble(*bytes);
  if (!WriteFileBytes(args[1], *bytes)) return Fail(kFailed, "cannot write " + args[1]);
  return kOk;
}

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

int Scramble(const Args& args) { return Transform(args, "scramble"); }
int Unscramble(const Args& args) { return Transform(args, "unscramble"); }

int Layers(const Args& args) {
  std::string config, dataDir;
  enum { Auto, Clear, Scrambled } form = Auto;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--clear")
      form = Clear;
    else if (args[i] == "--scrambled")
      form = Scrambled;
    else if (args[i] == "--data-dir" && i + 1 < args.size())
      dataDir = args[++i];
    else if (config.empty() && args[i].rfind("--", 0) != 0)
      config = args[i];
    else
      return Fail(kUsage, "usage: atrybuty-tool layers CONFIG [--clear|--scrambled] [--data-dir DIR]");
  }
  if (config.empty()) return Fail(kUsage, "usage: atrybuty-tool layers CONFIG [--clear|--scrambled] [--data-dir DIR]");

  auto bytes = ReadFileBytes(config);
  if (!bytes) return Fail(kFailed, "cannot read " + config);
  Profile profile = Profile::Parse(AsText(*bytes));
  // A clear configuration names its layer count; a scrambled one does not read
  // as a profile at all.
  const bool looksClear = !profile.Get("Global", "MapCount", kConfigValueBuffer).empty();
  if (form == Scrambled || (form == Auto && !looksClear)) {
    atrybuty::Scramble(*bytes);
    profile = Profile::Parse(AsText(*bytes));
  }
  const auto result = LoadLayerTable(profile);
  if (const auto* failure = std::get_if<LayerTableFailure>(&result))
    return Fail(kFailed, config + ": " + Describe(*failure));
  const LayerTable& table = std::get<LayerTable>(result);

  if (!dataDir.empty() && dataDir.back() != '/' && dataDir.back() != '\\') dataDir.push_back('/');
  const TextCodec& codec = SystemCodec();
  std::printf("%d layers\n", table.LayerCount());
  for (int i = 1; i <= table.LayerCount(); ++i) {
    const Layer& layer = table.entries[i];
    std::string line = std::to_string(i);
    line.insert(0, line.size() < 5 ? 5 - line.size() : 0, ' ');
    line += "  " + PadRight(codec.AnsiToUtf8(layer.name), 28) + "  " + PadRight(codec.AnsiToUtf8(layer.fileName), 14);
    if (!dataDir.empty()) line += "  " + RecordSummary(ReadLineStyleRecord(dataDir + layer.fileName));
    std::printf("%s\n", line.c_str());
  }
  return kOk;
}

}  // namespace atrybuty::tool
