#pragma once

#include <filesystem>

namespace atrybuty::tool {

// The change journal the component writes: %APPDATA%\Atrybuty\zmiany.txt on
// Windows; $XDG_DATA_HOME/atrybuty/zmiany.txt (or ~/.local/share/...) elsewhere.
std::filesystem::path DefaultJournalPath();

}  // namespace atrybuty::tool
