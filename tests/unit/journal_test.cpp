#include <gtest/gtest.h>

#include "core/mapfile/journal.h"
#include "support/scratch_dir.h"

namespace atrybuty {
namespace {

JournalEntry Sample() {
  return {"2026-12-08T10:11:12Z",
          "Polska",
          "Granice\twojewództw\\",
          "C:\\Program Files\\A.DAT",
          {{0x1000D, 5, 7}, {0x1000E, 30, 30}, {0x10010, 0x80, 0x12}}};
}

TEST(Journal, LinesRoundTripWithEscapes) {
  const std::string line = FormatJournalLine(Sample());
  EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_NE(line.find("1000E:05>07 1000F:1E>1E 10011:80>12"), std::string::npos) << line;
  EXPECT_EQ(ParseJournalLine(line), Sample());
  EXPECT_EQ(ParseJournalLine(line + "\r\n"), Sample());
}

TEST(Journal, BrokenLinesAreRejected) {
  for (const char* bad : {"", "a\tb\tc\td", "t\tp\tl\tf\t", "t\tp\tl\tf\t50E:03", "t\tp\tl\tf\t50E:3>04",
                          "t\tp\tl\tf\tXYZ:03>04", "t\tp\tl\\x\tf\t50E:03>04"}) {
    EXPECT_FALSE(ParseJournalLine(bad)) << bad;
  }
}

TEST(Journal, FileJournalAppendsAndReadsBack) {
  testing::ScratchDir dir;
  const std::string path = dir.File("sub/dziennik.txt");
  FileJournal journal(path, path);
  EXPECT_TRUE(journal.Append(Sample()));
  auto second = Sample();
  second.layer = "Rzeki";
  EXPECT_TRUE(journal.Append(second));
  const auto read = ReadJournal(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(*read, (std::vector<JournalEntry>{Sample(), second}));
  testing::WriteText(dir.File("plik"), "x");  // a file where the journal's folder would be
  EXPECT_FALSE(FileJournal(dir.File("plik/dziennik.txt"), "").Append(Sample()));
}

TEST(Journal, TimeIsIsoUtc) {
  const std::string t = JournalTimeNow();
  ASSERT_EQ(t.size(), 20u) << t;
  EXPECT_EQ(t[4], '-');
  EXPECT_EQ(t[10], 'T');
  EXPECT_EQ(t.back(), 'Z');
}

}  // namespace
}  // namespace atrybuty
