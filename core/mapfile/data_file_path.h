#pragma once
// Where the Microsoft Map data files lie: below the Program Files directory,
// in "Common Files\Microsoft Shared\Datamap\Data\".

#include <string>
#include <string_view>

namespace atrybuty {

inline constexpr char kDataSubdirectory[] = "Common Files\\Microsoft Shared\\Datamap\\Data\\";

// The Program Files directory with one "\" appended unless it already ends in
// "\" or "/". Empty text stays empty (no directory is known).
std::string WithTrailingSeparator(std::string_view programFilesDir);

// Program Files directory + data subdirectory + the file name exactly as the
// configuration gives it: nothing trimmed, nothing added.
std::string DataFilePath(std::string_view programFilesDir, std::string_view fileName);

}  // namespace atrybuty
