// The Windows temporary-file services.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "win32/config/win_temp_files.h"

namespace atrybuty::win32 {
namespace {

TEST(WinTempFiles, DirectoryIsTheSystemsAndNamesBeginWithTm) {
  WinTempFiles temp;
  char expected[MAX_PATH + 1];
  const DWORD n = GetTempPathA(MAX_PATH, expected);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(temp.Directory(), std::string(expected, n));

  const std::string a = temp.CreateUnique(temp.Directory(), "~tm");
  const std::string b = temp.CreateUnique(temp.Directory(), "~tm");
  ASSERT_FALSE(a.empty());
  EXPECT_NE(a, b);
  EXPECT_EQ(std::filesystem::path(a).filename().string().rfind("~tm", 0), 0u) << a;
  EXPECT_EQ(std::filesystem::file_size(a), 0u) << "the unique name is created as an empty file";
  std::filesystem::remove(a);
  std::filesystem::remove(b);
}

TEST(WinTempFiles, MissingDirectoryGivesNoFile) {
  WinTempFiles temp;
  EXPECT_EQ(temp.CreateUnique("C:\\no\\such\\directory\\", "~tm"), "");
}

}  // namespace
}  // namespace atrybuty::win32
