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

// The data directory below a Program Files directory, ending in "\".
std::string DataDirectory(std::string_view programFilesDir);

// Program Files directory + data subdirectory + the file name exactly as the
// configuration gives it: nothing trimmed, nothing added.
std::string DataFilePath(std::string_view programFilesDir, std::string_view fileName);

// What keeps a configuration's file name from naming a data file.
enum class DataFileName {
  Ok,             // a file inside the data directory (sub-folders allowed)
  LeavesFolder,   // with "..", the path resolves outside the data directory
  Device,         // a device such as CON, NUL, COM1 or LPT1 (with any extension)
  StreamOrDrive,  // a ":": an alternate data stream, or a drive of its own
  NotAName,       // empty, or characters no Windows file name holds
};

// Judges the name as Windows resolves the data directory + name: "\" and
// "/" separate folders, empty and "." components vanish, ".." goes up.
DataFileName CheckDataFileName(std::string_view fileName);

}  // namespace atrybuty
