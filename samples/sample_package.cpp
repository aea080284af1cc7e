#include "samples/sample_package.h"

#include <set>

#include "core/config/file_bytes.h"
#include "core/config/scramble.h"

namespace atrybuty::samples {

std::uint8_t PatternByte(std::uint64_t offset) {
  return static_cast<std::uint8_t>((offset * 7 + 0x3D) ^ (offset >> 8));
}

SamplePackage BundledSample() {
  // Layer names are code page 1250: \xB3 is "ł", \xF3 "ó", \x8C "Ś", \xB9 "ą",
  // \xAF "Ż", \x9C "ś", \xEA "ę", \xBF "ż".
  SamplePackage p;
  p.name = "Polska";
  p.layers = {
      {"Drogi krajowe", "DROGI.DAT", 0x500, 0, {3, 2, {0xFF, 0x80, 0x00}}},
      {"Rzeki", "RZEKI.DAT", 0x8000, 0, {2, 7, {0x00, 0x40, 0xC0}}},
      {"Granice wojew\xF3"
       "dztw",
       "GRANICE.DAT",
       0x10000,
       0,
       {5, 30, {0x80, 0x00, 0x80}}},
      {"Linie kolejowe", "KOLEJ.DAT", 0xA3400, 0, {0, 0, {0x12, 0x34, 0x56}}},
      {"\x8C"
       "cie\xBF"
       "ki rowerowe",
       "ROWERY.DAT",
       0,
       0x400,
       {}},
      {"Gazoci\xB9gi", "GAZ.DAT", 0x2000, 0x1000, {}},
      {"\xAF"
       "egluga \x9Cr\xF3"
       "dl\xB9"
       "dowa",
       "ZEGLUGA.DAT",
       0x1F00,
       0,
       {7, 77, {0x00, 0x00, 0x00}}},
  };
  return p;
}

SamplePackage LargePackage(int count) {
  SamplePackage p;
  p.name = "Wielka";
  p.layers.reserve(static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    SampleLayer l;
    l.name = "Warstwa numer " + std::to_string(i) +
             " z\xB3o\xBF"
             "onej mapy";
    l.fileName = "W" + std::to_string(i % 8) + ".DAT";
    l.base = 0x400 + 0x100 * static_cast<std::uint32_t>(i % 8);
    l.style = {static_cast<std::uint8_t>(1 + i % 7), static_cast<std::uint8_t>(1 + i % 77), {0x10, 0x20, 0x30}};
    p.layers.push_back(std::move(l));
  }
  return p;
}

std::string ClearConfiguration(const SamplePackage& package) {
  std::string text = "[Global]\r\nMapCount=" + std::to_string(package.layers.size()) + "\r\n";
  text.reserve(package.layers.size() * 72);
  int i = 0;
  for (const SampleLayer& l : package.layers) {
    text += "\r\n[Map " + std::to_string(++i) + "]\r\nLayerName=" + l.name + "\r\nMapName=" + l.fileName + "\r\n";
  }
  return text;
}

std::vector<std::uint8_t> DataFileBytes(const SampleLayer& layer) {
  const std::uint64_t minimum = layer.base == 0 ? kPointerHighOffset + 1 : OffsetsOf(layer.base).blue + 1;
  const std::uint64_t size = layer.fileSize ? layer.fileSize : minimum + 0x40;
  std::vector<std::uint8_t> bytes(size);
  for (std::uint64_t i = 0; i < size; ++i) bytes[i] = PatternByte(i);
  auto put = [&](std::uint64_t offset, std::uint8_t value) {
    if (offset < size) bytes[offset] = value;
  };
  put(kPointerLowOffset, static_cast<std::uint8_t>((layer.base >> 8) & 0xFF));
  put(kPointerHighOffset, static_cast<std::uint8_t>((layer.base >> 16) & 0xFF));
  if (layer.base != 0) {
    const RecordOffsets at = OffsetsOf(layer.base);
    put(at.thickness, layer.style.thickness);
    put(at.style, layer.style.style);
    put(at.red, layer.style.colour.red);
    put(at.green, layer.style.colour.green);
    put(at.blue, layer.style.colour.blue);
  }
  return bytes;
}

std::optional<std::string> WritePackage(const SamplePackage& package, const std::string& configDir,
                                        const std::string& dataDir, const std::string& fileStem) {
  const std::string clear = ClearConfiguration(package);
  std::vector<std::uint8_t> bytes(clear.begin(), clear.end());
  if (!WriteFileBytes(configDir + fileStem + ".ini", bytes)) return std::nullopt;
  Scramble(bytes);
  const std::string scrambledPath = configDir + fileStem + ".cfg";
  if (!WriteFileBytes(scrambledPath, bytes)) return std::nullopt;

  std::set<std::string> written;
  for (const SampleLayer& l : package.layers) {
    if (!written.insert(l.fileName).second) continue;
    if (!WriteFileBytes(dataDir + l.fileName, DataFileBytes(l))) return std::nullopt;
  }
  return scrambledPath;
}

}  // namespace atrybuty::samples
