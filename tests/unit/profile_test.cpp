#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#include "core/config/profile.h"

namespace atrybuty {
namespace {

struct Lookup {
  const char* name;
  std::string text;
  const char* section;
  const char* key;
  std::string expected;
  std::size_t buffer = 144;
};

class ProfileRules : public ::testing::TestWithParam<Lookup> {};

TEST_P(ProfileRules, ReadsAsTheWindowsProfileReader) {
  const Lookup& c = GetParam();
  EXPECT_EQ(Profile::Parse(c.text).Get(c.section, c.key, c.buffer), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileRules,
    ::testing::Values(Lookup{"plain", "[Global]\r\nMapCount=3\r\n", "Global", "MapCount", "3"},
                      Lookup{"section_case", "[GLOBAL]\nmapcount=3\n", "Global", "MapCount", "3"},
                      Lookup{"blank_in_name", "[Map 1]\nLayerName=Drogi\n", "Map 1", "LayerName", "Drogi"},
                      Lookup{"no_blank_not_found", "[Map1]\nLayerName=Drogi\n", "Map 1", "LayerName", ""},
                      Lookup{"missing_key", "[Map 1]\nLayerName=Drogi\n", "Map 1", "MapName", ""},
                      Lookup{"missing_section", "[Map 1]\nLayerName=Drogi\n", "Map 2", "LayerName", ""},
                      Lookup{"value_trimmed", "[S]\nk =  \t a b \t \r\n", "S", "k", "a b"},
                      Lookup{"line_indented", "   [S]\n\t k=v\n", "S", "k", "v"},
                      Lookup{"section_name_trimmed", "[ S ]\nk=v\n", "S", "k", "v"},
                      Lookup{"lookup_names_trimmed", "[S]\nk=v\n", " S\t", " k ", "v"},
                      Lookup{"text_after_bracket", "[S] ; note\nk=v\n", "S", "k", "v"},
                      Lookup{"first_key_wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
                      Lookup{"first_section_wins", "[S]\nk=1\n[s]\nk=2\n", "S", "k", "1"},
                      Lookup{"later_duplicate_section_unseen", "[S]\na=1\n[S]\nk=2\n", "S", "k", ""},
                      Lookup{"double_quotes_dropped", "[S]\nk=\"a b\"\n", "S", "k", "a b"},
                      Lookup{"single_quotes_dropped", "[S]\nk='a'\n", "S", "k", "a"},
                      Lookup{"unmatched_quote_kept", "[S]\nk=\"a'\n", "S", "k", "\"a'"},
                      Lookup{"lone_quote_kept", "[S]\nk=\"\n", "S", "k", "\""},
                      Lookup{"empty_quotes", "[S]\nk=\"\"\n", "S", "k", ""},
                      Lookup{"cr_only_lines", "[S]\rk=v\rj=w\r", "S", "j", "w"},
                      Lookup{"no_final_newline", "[S]\nk=v", "S", "k", "v"},
                      Lookup{"key_without_equals", "[S]\nk\n", "S", "k", ""},
                      Lookup{"equals_in_value", "[S]\nk=a=b\n", "S", "k", "a=b"},
                      Lookup{"unclosed_bracket_is_a_line", "[S]\n[k=v\n", "S", "[k", "v"},
                      Lookup{"keys_before_any_section", "k=v\n[S]\n", "S", "k", ""},
                      Lookup{"unnamed_section", "k=v\n[S]\n", "", "k", "v"},
                      Lookup{"cut_to_buffer", "[S]\nk=abcdef\n", "S", "k", "abc", 4},
                      Lookup{"quoted_cut_keeps_no_quote", "[S]\nk=\"abcdef\"\n", "S", "k", "abc", 4},
                      Lookup{"quoted_as_long_as_buffer", "[S]\nk=\"abc\"\n", "S", "k", "ab", 4},
                      Lookup{"nul_ends_value", std::string("[S]\nk=ab\0cd\n", 12), "S", "k", "ab"},
                      Lookup{"ctrl_z_is_blank", "[S]\nk=v\x1A\n", "S", "k", "v"},
                      Lookup{"vertical_tab_is_blank", "[S]\nk=\x0Bv\x0C\n", "S", "k", "v"},
                      Lookup{"nbsp_is_no_blank", "[S]\nk=\xA0v\xA0\n", "S", "k", "\xA0v\xA0"},
                      Lookup{"file_separator_is_no_blank", "[S]\nk=\x1Cv\n", "S", "k", "\x1Cv"},
                      // Names the section index hashes alike ('@' and '`' differ in the bit it ignores).
                      Lookup{"names_hashed_alike_kept_apart", "[S`]\nk=1\n[S@]\nk=2\n", "S@", "k", "2"},
                      Lookup{"controls_inside_a_long_line", "[S]\nkey=a\tb\x01" "c\x0B" "d\x0C" "e\x1A" "f\n", "S", "key",
                             "a\tb\x01" "c\x0B" "d\x0C" "e\x1A" "f"},
                      Lookup{"polish_letters_kept",
                             "[S]\nk=\xA3\xF3"
                             "d\xBA\n",
                             "S", "k",
                             "\xA3\xF3"
                             "d\xBA"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Profile, ValueOf150CharactersIsCutTo143) {
  const std::string name(150, 'x');
  const Profile p = Profile::Parse("[Map 1]\nLayerName=" + name + "\n");
  EXPECT_EQ(p.Get("Map 1", "LayerName", 144), std::string(143, 'x'));
}

// Several keys looked up together answer as each looked up alone: the first
// line of each name, whatever the order of the lines and of the keys.
TEST(Profile, KeysLookedUpTogetherAnswerAsAlone) {
  const Profile p = Profile::Parse(std::string_view("[S]\nb=1\n A = 2 \na=3\nB=4\nc\nd='q'\n[T]\na=5\n"));
  const auto values = p.FindKeys(" s ", {"a", "B", "c", "D", "e"}, 144);
  EXPECT_EQ(values, (std::array<std::string_view, 5>{"2", "1", "", "q", ""}));
  for (const char* key : {"a", "B", "c", "D", "e"}) EXPECT_EQ(p.Find("s", key, 144), p.Get("S", key, 144)) << key;
  EXPECT_EQ(p.FindKeys("U", {"a", "b"}, 144), (std::array<std::string_view, 2>{"", ""}));
}

TEST(Profile, ManySectionsAreAllFound) {
  std::string text = "[Global]\nMapCount=20000\n";
  for (int i = 1; i <= 20000; ++i) text += "[Map " + std::to_string(i) + "]\nLayerName=L" + std::to_string(i) + "\n";
  const Profile p = Profile::Parse(text);
  EXPECT_EQ(p.SectionCount(), 20001u);
  EXPECT_EQ(p.Get("map 1", "layername", 144), "L1");
  EXPECT_EQ(p.Get("Map 12345", "LayerName", 144), "L12345");
  EXPECT_EQ(p.Get("Map 20000", "LayerName", 144), "L20000");
  EXPECT_EQ(p.Get("Map 20001", "LayerName", 144), "");
}

}  // namespace
}  // namespace atrybuty
