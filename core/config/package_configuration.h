#pragma once
// The installed map packages as the registry lists them, and a package's
// layers read straight from its scrambled configuration (no temporary copy),
// for callers that need no dialog.

#include <string>
#include <variant>
#include <vector>

#include "core/config/layer_table.h"
#include "core/config/registry.h"
#include "core/text/codec.h"

namespace atrybuty {

// The pieces of the package list: split at every ";", empty text giving none.
std::vector<std::string> SplitPackageList(const std::string& list);
// Leading and trailing spaces removed (spaces only).
std::string TrimSpaces(const std::string& text);

// The names in "MRUList", in its order, without blanks around them; empty
// entries are no packages and are left out (ANSI).
std::vector<std::string> InstalledPackages(Registry& registry);

enum class PackageError {
  NotInstalled,    // no "path" value for the name
  Unreadable,      // the configuration cannot be read, or is empty
  BadLayerTable,   // see `layerTable`
};

struct PackageFailure {
  PackageError error;
  LayerTableFailure layerTable{};  // with BadLayerTable
};

// Why a configuration yields no layer table, in Polish, as the automation
// errors say it; `package` is the package's name (UTF-8), `codec` reads the
// configuration's ANSI text.
std::string LayerTableFailureInPolish(const LayerTableFailure& failure, const std::string& package,
                                      const TextCodec& codec);

// The layers of the installed package `name` (ANSI); `codec` turns the
// registry's ANSI path into the wide path the file is opened with.
std::variant<LayerTable, PackageFailure> LoadInstalledPackage(Registry& registry, std::string_view name,
                                                              const TextCodec& codec);

}  // namespace atrybuty
