#include "core/config/package_configuration.h"

#include "core/config/file_bytes.h"
#include "core/config/scramble.h"
#include "core/text/paths.h"

namespace atrybuty {

std::vector<std::string> SplitPackageList(const std::string& list) {
  std::vector<std::string> pieces;
  if (list.empty()) return pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t sep = list.find(';', start);
    pieces.push_back(list.substr(start, sep == std::string::npos ? std::string::npos : sep - start));
    if (sep == std::string::npos) break;
    start = sep + 1;
  }
  return pieces;
}

std::string TrimSpaces(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> InstalledPackages(Registry& registry) {
  std::vector<std::string> names;
  for (const std::string& entry : SplitPackageList(registry.ReadRegValue(kAtrybutyKey, kMruListValue))) {
    if (std::string name = TrimSpaces(entry); !name.empty()) names.push_back(std::move(name));
  }
  return names;
}

std::variant<LayerTable, PackageFailure> LoadInstalledPackage(Registry& registry, std::string_view name,
                                                              const TextCodec& codec) {
  const std::string path = registry.ReadRegValue(PackageKey(name), kPackagePathValue);
  if (path.empty()) return PackageFailure{PackageError::NotInstalled};
  auto bytes = ReadFileBytes(PathFromAnsi(codec, path));
  if (!bytes || bytes->empty()) return PackageFailure{PackageError::Unreadable};
  Scramble(*bytes);
  auto table = LoadLayerTable(Profile::Parse(std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size())));
  if (auto* failure = std::get_if<LayerTableFailure>(&table))
    return PackageFailure{PackageError::BadLayerTable, *failure};
  return std::get<LayerTable>(std::move(table));
}

std::string LayerTableFailureInPolish(const LayerTableFailure& failure, const std::string& package,
                                      const TextCodec& codec) {
  const std::string name = "Konfiguracja pakietu \"" + package + "\"";
  const std::string count = codec.AnsiToUtf8(failure.countText);
  switch (failure.error) {
    case LayerTableError::FileUnreadable:
      break;
    case LayerTableError::CountMissing:
      return name + " nie podaje liczby warstw: brak wartości MapCount w sekcji [Global].";
    case LayerTableError::CountNotANumber:
      return name + " podaje liczbę warstw, która nie jest liczbą: MapCount=" + count + ".";
    case LayerTableError::CountNegative:
      return name + " podaje ujemną liczbę warstw: MapCount=" + count + ".";
    case LayerTableError::CountTooLarge:
      return name + " podaje za dużą liczbę warstw: MapCount=" + count + " (najwyżej 32767).";
  }
  return "Nie mogę odczytać konfiguracji pakietu \"" + package + "\".";
}

}  // namespace atrybuty
