// The rules of the description over small inputs: the template, the
// entries and the values.
#include <optional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/description.h"
#include "platform/gbk.h"
#include "tests/engine/utf8.h"

namespace {

using engine_test::Utf8;
using engine_test::Utf8All;
using platform::Gbk;
using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

TEST(PlaceholderValueText, ReadsTheCellAsADecimalTimesTheFactor) {
  struct Case {
    const char* cell;
    double factor;
    const char* shown;
  };
  const Case cases[] = {
      {"150", 0.1, "15"},      {"1500", 0, "1.5"},  // a factor of 0 counts as 0.001
      {"1500", 1e-8, "1.5"},   {"1500", -1e-7, "1.5"},
      {"3", 2.5, "7.5"},       {"[@04]2.5", 1, "2.5"},  // a decimal's marker is skipped
      {"[@02]30", 2, "60"},    {"", 1, "0"},
      {"abc", 1, "0"},         {"0", -1, "0"},  // never "-0"
      {"-20", 1, "-20"},       {"123456789012345", 1, "1.234567890123e+14"},
      {"0.00001", 1, "1e-05"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlaceholderValueText(c.cell, c.factor), c.shown) << c.cell << " x " << c.factor;
  }
}

Description RenderUtf8(const std::string& templateUtf8, std::vector<LevelPropertyEntry> entries,
                       std::optional<std::string> heading = std::nullopt) {
  return RenderDescription(Gbk(templateUtf8), entries, heading, {"7", "8"}, {"1", "2", "3"});
}

Strings PieceTexts(const Description& d) {
  Strings texts;
  for (const DescriptionPiece& p : d.pieces) texts.push_back(Utf8(p.text));
  return texts;
}

TEST(RenderDescription, EveryTemplateLineIsShownAndEachValueHasItsOwnSource) {
  const std::vector<LevelPropertyEntry> entries = {{-1, 0, 1}, {0, 1, 1}, {5, 9, 1}, {-3, -1, 1}};
  const Description d = RenderUtf8(R"(A:<int> <int>\n\nB:<int>\nC:<int>\n)", entries);
  ASSERT_FALSE(d.tooManyPlaceholders);
  EXPECT_THAT(PieceTexts(d), ElementsAre("A:1 8", "", "B:0", "C:0"));  // outside a grid: 0
  EXPECT_EQ(d.pieces[0].colour, kLevelValueColour);
  EXPECT_EQ(d.pieces[1].colour, kPlainTextColour);
  EXPECT_EQ(d.pieces[2].colour, kStaticValueColour);
  EXPECT_EQ(d.pieces[3].colour, kLevelValueColour);
  EXPECT_THAT(Utf8All(d.spans), ElementsAre("动态|1|0", "静态|2|0", "静态|10|2", "动态|0|3"));
}

TEST(RenderDescription, OnlyTheExactPlaceholderCountsAndTooManyOfThemIsRefused) {
  // "<INT>" is text: a template of it renders, whatever the entries.
  EXPECT_THAT(PieceTexts(RenderUtf8("<INT>|<Int>", {})), ElementsAre("<INT>|<Int>"));
  EXPECT_TRUE(RenderUtf8(R"(A:<int>\nB:<int>)", {{-1, 0, 1}}).tooManyPlaceholders);
  const Description d = RenderUtf8("", {}, Gbk("名  Lv 3[通用]"));
  EXPECT_THAT(PieceTexts(d), ElementsAre("名  Lv 3[通用]\r\n" + std::string(47, '-')));
  // Under a heading the first template line stands on box line 2.
  EXPECT_THAT(Utf8All(RenderUtf8("x<int>", {{0, 0, 1}}, "h").spans), ElementsAre("静态|1|2"));
}

TEST(LevelProperty, EachFormFindsItsKeyAndEntries) {
  struct Case {
    const char* what;
    bool sp;
    std::string script;
    const char* key;
    std::size_t entries;
  };
  const std::string spHead =
      "[@05][level property]\r\n[@02]0\r\n[@02]1\r\n[@09]skillname.str\r\n[@0A]k\r\n";
  const std::vector<Case> cases = {
      {"sp", true, spHead + "[@02]-1\r\n[@02]0\r\n[@04]0.5\r\n[@05][/level property]\r\n", "k", 1},
      {"sp partial entry", true, spHead + "[@02]-1\r\n[@02]0\r\n[@05][/level property]", "k", 0},
      {"sp without close tag", true, spHead + "[@02]-1\r\n[@02]0\r\n[@04]0.5\r\n", "k", 0},
      // The entries start after the link line, not where the key first occurs.
      {"sp key named earlier", true,
       "[@05][explain]\r\n[@07]k\r\n" + spHead +
           "[@02]-1\r\n[@02]0\r\n[@04]0.5\r\n"
           "[@05][/level property]",
       "k", 1},
      {"sp no section", true, "[@05][name]\r\n[@09]s\r\n[@0A]k\r\n[@0A]k2\r\n", "", 0},
      {"pt", false, "[level property]\r\n0\t1\t<12::k`t`>\t\r\n-1\t0\t0.5\t\r\n", "k", 1},
      {"pt link without backquote", false, "[level property]\r\n<12::a@b\t\r\n", "a@b", 0},
      {"pt empty link line", false, "[level property]\r\n\r\n-1\t0\t1\t\r\n", "", 0},
      {"pt key named earlier", false,
       "[explain]\r\n`k`\t\r\n[level property]\r\n0\t1\t<12::k`t`>\t\r\n-1\t0\t1\t0\t1\t1\t\r\n",
       "k", 2},
      {"pt no section", false, "[name]\r\n<12::k`t`>\t\r\n", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const LevelProperty p = c.sp ? ReadLevelPropertySp(c.script) : ReadLevelPropertyPt(c.script);
    EXPECT_EQ(p.key, c.key);
    EXPECT_EQ(p.entries.size(), c.entries);
  }
  // An empty PT value keeps its place and reads as 0.
  const LevelProperty p = ReadLevelPropertyPt("[level property]\r\n<12::k`t`>\t\r\n-1\t\t2\t\r\n");
  ASSERT_EQ(p.entries.size(), 1u);
  EXPECT_EQ(p.entries[0].kind, -1);
  EXPECT_EQ(p.entries[0].index, 0);
  EXPECT_EQ(p.entries[0].factor, 2);
}

}  // namespace
