#include "engine/script_form.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/text.h"

namespace {

const std::string kSpStatic = "[@05][static data]\r\n[@02]100\r\n[@02]200\r\n[@05][/static data]";
const std::string kPtStatic = "[static data]\r\n100\t200\t\r\n[/static data]";

TEST(DetectScriptFormat, Table) {
  constexpr std::optional<ScriptForm> kSp = ScriptForm::Sp;
  constexpr std::optional<ScriptForm> kPt = ScriptForm::Pt;
  constexpr std::optional<ScriptForm> kNone;
  struct Case {
    std::string text;
    std::optional<ScriptForm> expected;
  };
  const std::vector<Case> cases = {
      {kSpStatic, kSp},
      {kPtStatic, kPt},
      {kSpStatic + "\r\n[@0A]key\tx", kNone},  // one TAB anywhere refuses an SP text
      {kPtStatic + "\r\n[@02]", kNone},        // "[@02]" anywhere refuses a PT text
      {"", kNone},
      {"[@05][static data]\r\n[@04]0.5\r\n[@05][/static data]", kNone},  // decimals only
      {"[@02]", kSp},
      {"\t", kPt},
      // Section tags play no part.
      {"[static data]\r\n[@02]1", kSp},
      {"[@05][level info]\t", kPt},
      // A "[@02]" that begins on a trail byte is no marker.
      {"\x81[@02]", kNone},
      {"\x81[@02]\t", kPt},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(DetectScriptFormat(cases[i].text), cases[i].expected);
  }
}

TEST(SplitPtValues, Table) {
  using Parts = std::vector<std::string>;
  struct Case {
    std::string line;
    Parts expected;
  };
  const std::vector<Case> cases = {
      {"100\t\t300\t", {"100", "", "300"}},
      {"100\t200\t", {"100", "200"}},
      {"100\t200", {"100", "200"}},
      {"\t5\t", {"", "5"}},
      {"\t", {""}},
      {"", {}},
      {"1|2\t3\t", {"1", "2", "3"}},
      {"\x81|\t5\t", {"\x81|", "5"}},  // a "|" trail byte stays in its character
      // A TAB is never a trail byte: a value ending in the single byte 0x80
      // ("€") is a value of its own.
      {"12\x80\t30\t", {"12\x80", "30"}},
      {"1|\t\x80\t", {"1", "", "\x80"}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(SplitPtValues(cases[i].line), cases[i].expected);
  }
}

TEST(StripSpMarker, Table) {
  struct Case {
    std::string text, marker, expected;
  };
  const std::vector<Case> cases = {
      {"[@02]100", "[@02]", "100"},        {"[@02]1\r\n[@02]2\r\n", "[@02]", "1\r\n2\r\n"},
      {"[@0a]key", "[@0A]", "key"},        {"[@04]0.5\r\n[@02]3", "[@04]", "0.5\r\n[@02]3"},
      {"\x81[@02]", "[@02]", "\x81[@02]"}, {"abc", "", "abc"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "case " << i);
    EXPECT_EQ(StripSpMarker(cases[i].text, cases[i].marker), cases[i].expected);
  }
}

TEST(ScriptTags, PlainTagMatchesTheSpTagButNeverItsClosingTag) {
  const std::string sp =
      "[@05][level info]\r\n[@02]1\r\n[@02]5\r\n[@05][/level info]\r\n"
      "[@05][pvp]\r\n[@05][level info]\r\n[@02]1\r\n[@02]6\r\n[@05][/level info]\r\n[@05][/pvp]";
  EXPECT_EQ(CountOccurrences(sp, "[level info]"), 2);
  EXPECT_EQ(CountOccurrences(sp, "[/level info]"), 2);
  EXPECT_EQ(FindText(sp, "[pvp]"), FindText(sp, "[@05][pvp]") + 5);
}

}  // namespace
