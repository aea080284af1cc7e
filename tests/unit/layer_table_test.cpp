#include <gtest/gtest.h>

#include <string>

#include "core/config/layer_table.h"
#include "support/scratch_dir.h"

namespace atrybuty {
namespace {

LayerTableResult Load(const std::string& text) { return LoadLayerTable(Profile::Parse(text)); }

TEST(LayerTable, ListsLayersInSectionOrderWithEmptyEntryZero) {
  const auto result = Load(
      "[Map 2]\nLayerName=Rzeki\nMapName=RZEKI.DAT\n"
      "[Global]\nMapCount= 3 \n"
      "[Map 1]\nLayerName=Drogi\nMapName=DROGI.DAT\n"
      "[Map 3]\nmapname=KOLEJ.DAT\nLayerName=Koleje\nMAPNAME=later\nlayername=later\n");
  const auto& t = std::get<LayerTable>(result);
  ASSERT_EQ(t.LayerCount(), 3);
  EXPECT_EQ(t.entries[0].name, "");
  EXPECT_EQ(t.entries[0].fileName, "");
  EXPECT_EQ(t.entries[1].name, "Drogi");
  EXPECT_EQ(t.entries[2].fileName, "RZEKI.DAT");
  EXPECT_EQ(t.entries[3].name, "Koleje");
  EXPECT_EQ(t.entries[3].fileName, "KOLEJ.DAT") << "the first key of a name wins, in any order";
  EXPECT_EQ(t.nameChars, 16u) << "the names' lengths together";
}

TEST(LayerTable, SectionsWithoutBlankLeaveLayersEmpty) {
  const auto result = Load("[Global]\nMapCount=2\n[Map1]\nLayerName=A\n[Map2]\nMapName=B\n");
  const auto& t = std::get<LayerTable>(result);
  ASSERT_EQ(t.LayerCount(), 2);
  for (int i = 1; i <= 2; ++i) {
    EXPECT_EQ(t.entries[i].name, "");
    EXPECT_EQ(t.entries[i].fileName, "");
  }
}

TEST(LayerTable, NamesAndFilesAreCutTo143Characters) {
  const auto result =
      Load("[Global]\nMapCount=1\n[Map 1]\nLayerName=" + std::string(150, 'n') + "\nMapName=" + std::string(150, 'f'));
  const auto& t = std::get<LayerTable>(result);
  EXPECT_EQ(t.entries[1].name, std::string(143, 'n'));
  EXPECT_EQ(t.entries[1].fileName, std::string(143, 'f'));
}

TEST(LayerTable, ZeroLayersIsAnEmptyTable) {
  const auto result = Load("[Global]\nMapCount=0\n");
  const auto& t = std::get<LayerTable>(result);
  EXPECT_EQ(t.LayerCount(), 0);
  EXPECT_EQ(t.entries.size(), 1u);
}

TEST(LayerTable, TheLargestPackageLoads) {
  std::string text = "[Global]\nMapCount=32767\n";
  for (int i = 1; i <= 32767; ++i) text += "[Map " + std::to_string(i) + "]\nLayerName=L" + std::to_string(i) + "\n";
  const auto result = Load(text);
  const auto& t = std::get<LayerTable>(result);
  ASSERT_EQ(t.LayerCount(), 32767);
  EXPECT_EQ(t.entries[32767].name, "L32767");
}

struct BadCount {
  const char* name;
  const char* config;
  LayerTableError error;
};

class LayerTableFailures : public ::testing::TestWithParam<BadCount> {};

TEST_P(LayerTableFailures, AreTypedAndDescribed) {
  const auto result = Load(GetParam().config);
  const auto* failure = std::get_if<LayerTableFailure>(&result);
  ASSERT_NE(failure, nullptr);
  EXPECT_EQ(failure->error, GetParam().error);
  EXPECT_NE(Describe(*failure).find("MapCount"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LayerTableFailures,
    ::testing::Values(BadCount{"no_global", "[Map 1]\nLayerName=A\n", LayerTableError::CountMissing},
                      BadCount{"no_key", "[Global]\nCount=1\n", LayerTableError::CountMissing},
                      BadCount{"empty", "[Global]\nMapCount=\n", LayerTableError::CountMissing},
                      BadCount{"letters", "[Global]\nMapCount=abc\n", LayerTableError::CountNotANumber},
                      BadCount{"trailing_letters", "[Global]\nMapCount=12a\n", LayerTableError::CountNotANumber},
                      BadCount{"decimal_point", "[Global]\nMapCount=1.5\n", LayerTableError::CountNotANumber},
                      BadCount{"sign_only", "[Global]\nMapCount=-\n", LayerTableError::CountNotANumber},
                      BadCount{"negative", "[Global]\nMapCount=-1\n", LayerTableError::CountNegative},
                      BadCount{"above_limit", "[Global]\nMapCount=32768\n", LayerTableError::CountTooLarge},
                      BadCount{"huge", "[Global]\nMapCount=99999999999999999999999\n", LayerTableError::CountTooLarge}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LayerTable, UnreadableFileIsReported) {
  testing::ScratchDir dir;
  const auto result = LoadLayerTableFile(dir.File("missing.ini"));
  ASSERT_TRUE(std::holds_alternative<LayerTableFailure>(result));
  EXPECT_EQ(std::get<LayerTableFailure>(result).error, LayerTableError::FileUnreadable);
}

}  // namespace
}  // namespace atrybuty
