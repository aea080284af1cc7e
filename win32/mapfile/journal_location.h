#pragma once
// Where the change journal lives: %APPDATA%\Atrybuty\zmiany.txt, so every
// user has one, and the server and the tool find the same file.

#include <filesystem>

namespace atrybuty::win32 {

std::filesystem::path JournalPath();

}  // namespace atrybuty::win32
