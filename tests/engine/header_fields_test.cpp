// The header fields of a script: the rules of each form over small
// scripts, and the slots the writers rebuild from.
#include <cctype>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/header_fields.h"
#include "platform/gbk.h"
#include "tests/engine/utf8.h"

namespace {

using engine_test::Utf8;
using platform::Gbk;
using ::testing::ElementsAreArray;
using Row = std::pair<std::string, std::string>;  // title, value (UTF-8)
using Rows = std::vector<Row>;

Rows LoadRows(const HeaderFieldLoad& load) {
  Rows rows;
  for (const HeaderRowGroup& g : load.groups) {
    for (std::size_t i = 0; i < g.titles.size(); ++i)
      rows.emplace_back(Utf8(g.titles[i]), Utf8(g.values[i]));
  }
  return rows;
}

// --- The rules of each form over small scripts --------------------------

struct TextCase {
  const char* what;
  std::string script;
  Rows rows;
};

void PrintTo(const TextCase& c, std::ostream* os) {
  *os << c.what;
}

const std::string kSpCool = "[@05][cool time]\r\n[@02]5000\r\n[@02]3000\r\n";

// clang-format off
const std::vector<TextCase> kSpCases = {
    {"a signed value", "[@05][required level]\r\n[@02]-30\r\n", {{"学习等级", "-30"}}},
    {"only the first marker is removed", "[@05][purchase cost]\r\n[@02]7[@02]8\r\n",
     {{"SP消耗", "7[@02]8"}}},
    {"a decimal value line", "[@05][maximum level]\r\n[@04]1.5\r\n[@05][purchase cost]\r\n[@02]3\r\n",
     {{"SP消耗", "3"}}},
    {"the tag on the last line", "[@05][purchase cost]\r\n[@02]3\r\n[@05][maximum level]", {{"SP消耗", "3"}}},
    {"one of two values a decimal", "[@05][consume MP]\r\n[@02]10\r\n[@04]0.5\r\n", {}},
    {"three values", "[@05][consume item]\r\n[@02]5\r\n[@02]1\r\n[@02]2\r\n",
     {{"需要物品", "5"}, {"物品个数1", "1"}, {"物品个数2", "2"}}},
    {"the tag in other letters only", "[@05][Cool Time]\r\n[@02]1\r\n[@02]2\r\n", {}},
    // The tag line is the one whose tag passed the test, not the first line
    // that holds the tag in any letters.
    {"the tag in other letters first",
     "[@05][explain]\r\n[@07]see [COOL TIME]\r\n[@02]9\r\n" + kSpCool,
     {{"冷却时间", "5000"}, {"[地下城]", "3000"}}},
    {"an arena copy of one value",
     kSpCool + "[@05][pvp]\r\n[@05][cool time]\r\n[@02]9000\r\n[@05][/pvp]\r\n",
     {{"冷却时间", "5000"}, {"[地下城]", "3000"}, {"冷却时间", "9000"}, {"[决斗场]", ""}}},
    {"an arena copy without values",
     kSpCool + "[@05][pvp]\r\n[@05][cool time]\r\n[@04]1.5\r\n[@05][/pvp]\r\n",
     {{"冷却时间", "5000"}, {"[地下城]", "3000"}}},
    {"[pvp] before the only copies",
     "[@05][pvp]\r\n[@05][/pvp]\r\n" + kSpCool + kSpCool,
     {{"冷却时间", "5000"}, {"[地下城]", "3000"}}},
};

const std::string kPtCool = "[cool time]\r\n5000\t3000\t\r\n";

const std::vector<TextCase> kPtCases = {
    {"one value", "[required level]\r\n30\t\r\n", {{"学习等级", "30"}}},
    // The line's first value that holds more than blanks.
    {"a value after an empty one", "[required level]\r\n\t30\t\r\n", {{"学习等级", "30"}}},
    {"blanks after the TAB", "[required level]\r\n30\t  \r\n", {{"学习等级", "30"}}},
    {"a value after blanks", "[required level]\r\n  \t30\t\r\n", {{"学习等级", "30"}}},
    {"a second value", "[required level]\r\n30\t40\t\r\n", {{"学习等级", "30"}}},
    {"only blanks", "[required level]\r\n  \t\t\r\n", {{"学习等级", "  "}}},
    {"a value line without a TAB", "[maximum level]\r\n30\r\n", {}},
    {"the tag on the last line", "[purchase cost]\r\n3\t\r\n[maximum level]", {{"SP消耗", "3"}}},
    {"a decimal value", "[maximum level]\r\n1.5\t\r\n", {{"最大等级", "1.5"}}},
    {"two values", "[consume MP]\r\n10\t20\t\r\n", {{"MP消耗1", "10"}, {"MP消耗2", "20"}}},
    {"too few values", "[consume MP]\r\n10\t\r\n", {{"MP消耗1", ""}, {"MP消耗2", ""}}},
    {"an empty first value", "[consume MP]\r\n\t20\t\r\n", {{"MP消耗1", ""}, {"MP消耗2", "20"}}},
    {"three values", "[consume item]\r\n5\t1\t2\t\r\n",
     {{"需要物品", "5"}, {"物品个数1", "1"}, {"物品个数2", "2"}}},
    {"too few of three", "[consume item]\r\n5\t1\t\r\n",
     {{"需要物品", ""}, {"物品个数1", ""}, {"物品个数2", ""}}},
    {"the tag in other letters only", "[Cool Time]\r\n1\t2\t\r\n", {}},
    {"the tag in other letters first", "[explain]\r\n`see [COOL TIME]`\t\r\n9\t9\t\r\n" + kPtCool,
     {{"冷却时间", "5000"}, {"[地下城]", "3000"}}},
    {"an arena copy", kPtCool + "[pvp]\r\n[cool time]\r\n9000\t8000\t\r\n[/pvp]\r\n",
     {{"冷却时间", "5000"}, {"[地下城]", "3000"}, {"冷却时间", "9000"}, {"[决斗场]", "8000"}}},
    {"an arena copy with an empty first value",
     kPtCool + "[pvp]\r\n[cool time]\r\n\t8000\t\r\n[/pvp]\r\n",
     {{"冷却时间", "5000"}, {"[地下城]", "3000"}}},
    {"an arena copy of one value", kPtCool + "[pvp]\r\n[cool time]\r\n9000\t\r\n[/pvp]\r\n",
     {{"冷却时间", "5000"}, {"[地下城]", "3000"}}},
};
// clang-format on

class HeaderSpText : public ::testing::TestWithParam<TextCase> {};
class HeaderPtText : public ::testing::TestWithParam<TextCase> {};

TEST_P(HeaderSpText, Rows) {
  EXPECT_THAT(LoadRows(ReadHeaderFieldsSp(Gbk(GetParam().script))),
              ElementsAreArray(GetParam().rows));
}

TEST_P(HeaderPtText, Rows) {
  EXPECT_THAT(LoadRows(ReadHeaderFieldsPt(Gbk(GetParam().script))),
              ElementsAreArray(GetParam().rows));
}

std::string TextName(const ::testing::TestParamInfo<TextCase>& info) {
  std::string name;
  for (char c : std::string(info.param.what))
    name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Sp, HeaderSpText, ::testing::ValuesIn(kSpCases), TextName);
INSTANTIATE_TEST_SUITE_P(Pt, HeaderPtText, ::testing::ValuesIn(kPtCases), TextName);

TEST(HeaderSlots, AFieldWhoseValueLinesFailKeepsThemAsReadAndAddsNoRows) {
  const HeaderFieldLoad sp = ReadHeaderFieldsSp("[@05][maximum level]\r\n[@04]1.5\r\n");
  EXPECT_EQ(sp.slots[static_cast<std::size_t>(HeaderSlot::MaximumLevel)], "[@04]1.5");
  EXPECT_TRUE(sp.groups.empty());
  const HeaderFieldLoad pt = ReadHeaderFieldsPt("[maximum level]\r\n15\r\n");
  EXPECT_EQ(pt.slots[static_cast<std::size_t>(HeaderSlot::MaximumLevel)], "");
}

}  // namespace
