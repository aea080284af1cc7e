// Our profile reader against the platform's GetPrivateProfileStringA: the
// same answers for every tricky line we could think of.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "core/config/profile.h"
#include "support/scratch_dir.h"

namespace atrybuty {
namespace {

std::string Platform(const std::string& path, const std::string& section, const std::string& key, DWORD size) {
  std::vector<char> buffer(size + 1, '\x7F');
  const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer.data(), size, path.c_str());
  return std::string(buffer.data(), n);
}

void ExpectSameAnswers(const std::string& text, const std::vector<std::pair<std::string, std::string>>& lookups) {
  testing::ScratchDir dir;
  const std::string path = dir.File("conf.ini");
  testing::WriteText(path, text);
  const Profile ours = Profile::Parse(text);
  for (DWORD size : {144u, 4u, 5u, 1u}) {
    for (const auto& [section, key] : lookups) {
      EXPECT_EQ(ours.Get(section, key, size), Platform(path, section, key, size))
          << "[" << section << "] " << key << " buffer " << size;
    }
  }
}

TEST(ProfileConformance, LinesSectionsKeysAndQuotes) {
  const std::string text =
      "k0=before any section\r\n"
      "[Global]\r\nMapCount= 3 \r\n"
      "[GLOBAL]\r\nMapCount=9\r\nOther=1\r\n"
      "  [Map 1]  \r\n  LayerName  =  Drogi krajowe  \r\nMapName=DROGI.DAT\r\n"
      "[Map1]\r\nLayerName=no blank\r\n"
      "[ Map 2 ]\r\nLayerName=padded name\r\n"
      "[Map 3] trailing text\r\nLayerName=\"quoted\"\r\nMapName='single'\r\n"
      "[Map 4]\r\nLayerName=\"unbalanced'\r\nMapName=\"\r\nA=\"\"\r\nB=\"abc\"\r\nC=\"abcd\"\r\n"
      "[Map 5]\rLayerName=cr only\rMapName=x=y\r"
      "[Map 6]\nLayerName\nMapName=\n;Comment=1\n[broken\nKey=after broken\n"
      "[Map 7]\r\nlayername=first\r\nLAYERNAME=second\r\n"
      "[Map 8]\r\nLayerName=" +
      std::string(150, 'x') +
      "\r\n"
      "[Map 9]\r\nLayerName=\"" +
      std::string(148, 'q') +
      "\"\r\n"
      "[Map 10]\r\nLayerName=\xA3\xF3"
      "d\xBC \xAF\xF3\xB3w\r\n"
      "[Map 11]\r\nLayerName=\x1Atab\tand ctrl-z\x1A\r\n";
  std::vector<std::pair<std::string, std::string>> lookups = {{"Global", "MapCount"},
                                                              {"global", "other"},
                                                              {"Map 1", "LayerName"},
                                                              {"Map 1", "MapName"},
                                                              {"Map1", "LayerName"},
                                                              {"Map 2", "LayerName"},
                                                              {" Map 2 ", "LayerName"},
                                                              {"Map 3", "LayerName"},
                                                              {"Map 3", "MapName"},
                                                              {"Map 4", "LayerName"},
                                                              {"Map 4", "MapName"},
                                                              {"Map 4", "A"},
                                                              {"Map 4", "B"},
                                                              {"Map 4", "C"},
                                                              {"Map 5", "LayerName"},
                                                              {"Map 5", "MapName"},
                                                              {"Map 6", "LayerName"},
                                                              {"Map 6", "MapName"},
                                                              {"Map 6", ";Comment"},
                                                              {"Map 6", "[broken"},
                                                              {"Map 6", "Key"},
                                                              {"broken", "Key"},
                                                              {"Map 7", "LayerName"},
                                                              {"Map 8", "LayerName"},
                                                              {"Map 9", "LayerName"},
                                                              {"Map 10", "LayerName"},
                                                              {"Map 11", "LayerName"},
                                                              {"Map 12", "LayerName"},
                                                              {"", "k0"}};
  ExpectSameAnswers(text, lookups);
}

TEST(ProfileConformance, BlanksAreTheSameBytes) {
  // Each byte is put around a value and around a key; the platform trims
  // exactly the bytes we do.
  for (int b = 1; b < 256; ++b) {
    if (b == '\r' || b == '\n' || b == '=' || b == '[' || b == '"' || b == '\'') continue;
    const std::string c(1, static_cast<char>(b));
    const std::string text = "[S]\r\n" + c + "k" + c + "=" + c + "v" + c + "\r\n";
    SCOPED_TRACE(b);
    ExpectSameAnswers(text, {{"S", "k"}, {"S", c + "k" + c}});
  }
}

}  // namespace
}  // namespace atrybuty
