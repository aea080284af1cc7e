#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/config/scramble.h"
#include "core/config/unscramble_to_temp.h"
#include "support/platform_services.h"
#include "support/scratch_dir.h"

namespace atrybuty {
namespace {

using testing::ReadAll;
using testing::ScratchDir;
using testing::WriteAll;

TEST(Scramble, KeyStreamIsPositionTimesMultiplierModulo256) {
  std::vector<std::uint8_t> zeros(600, 0);
  Scramble(zeros);
  for (std::size_t i = 0; i < zeros.size(); ++i) {
    ASSERT_EQ(zeros[i], static_cast<std::uint8_t>(((i + 1) * kScrambleMultiplier) % 256)) << "position " << i + 1;
  }
}

TEST(Scramble, SameRoutineBothWays) {
  std::vector<std::uint8_t> clear;
  for (int i = 0; i < 1000; ++i) clear.push_back(static_cast<std::uint8_t>(i * 31 + 7));
  auto bytes = clear;
  Scramble(bytes);
  EXPECT_NE(bytes, clear);
  Scramble(bytes);
  EXPECT_EQ(bytes, clear);
}

class FailingTempFiles final : public TempFiles {
 public:
  std::string Directory() override { return "nowhere"; }
  std::string CreateUnique(const std::string&, const std::string&) override { return {}; }
};

// A temp service that hands out a path inside a directory that does not exist.
class UnwritableTempFiles final : public TempFiles {
 public:
  explicit UnwritableTempFiles(std::string path) : path_(std::move(path)) {}
  std::string Directory() override { return {}; }
  std::string CreateUnique(const std::string&, const std::string&) override { return path_; }

 private:
  std::string path_;
};

const Cp1250Codec codec;

TEST(UnscrambleToTemp, WritesClearCopyOfSameLengthWithTmPrefix) {
  ScratchDir dir;
  const std::vector<std::uint8_t> clear = {'[', 'G', 'l', 'o', 'b', 'a', 'l', ']', '\r', '\n', 0, 0xFF, 0x80};
  auto scrambled = clear;
  Scramble(scrambled);
  WriteAll(dir.File("pkg.cfg"), scrambled);

  auto temp = testing::MakePlatformTempFiles();
  const std::string copy = UnscrambleToTemp(dir.File("pkg.cfg"), *temp, codec);
  ASSERT_FALSE(copy.empty());
  EXPECT_EQ(std::filesystem::path(copy).filename().string().rfind("~tm", 0), 0u) << copy;
  EXPECT_EQ(ReadAll(copy), clear);
  EXPECT_EQ(ReadAll(dir.File("pkg.cfg")), scrambled) << "the source must never change";

  // A second call leaves a second file with the same content.
  const std::string second = UnscrambleToTemp(dir.File("pkg.cfg"), *temp, codec);
  ASSERT_FALSE(second.empty());
  EXPECT_NE(second, copy);
  EXPECT_EQ(ReadAll(second), clear);
  std::filesystem::remove(copy);
  std::filesystem::remove(second);
}

TEST(UnscrambleToTemp, FailuresGiveEmptyText) {
  ScratchDir dir;
  auto temp = testing::MakePlatformTempFiles();
  WriteAll(dir.File("empty.cfg"), {});
  WriteAll(dir.File("one.cfg"), {0x41});

  EXPECT_EQ(UnscrambleToTemp("", *temp, codec), "");
  EXPECT_EQ(UnscrambleToTemp(dir.File("missing.cfg"), *temp, codec), "");
  EXPECT_EQ(UnscrambleToTemp(dir.File("empty.cfg"), *temp, codec), "") << "a zero-length configuration is a failure";
  EXPECT_EQ(UnscrambleToTemp(dir.Prefix(), *temp, codec), "") << "a directory is not a configuration";

  FailingTempFiles noTemp;
  EXPECT_EQ(UnscrambleToTemp(dir.File("one.cfg"), noTemp, codec), "");
  UnwritableTempFiles badPath(dir.File("no-such-dir/~tm1.tmp"));
  EXPECT_EQ(UnscrambleToTemp(dir.File("one.cfg"), badPath, codec), "");
}

}  // namespace
}  // namespace atrybuty
