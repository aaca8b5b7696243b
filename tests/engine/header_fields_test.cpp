// The header fields in 参数表格: what a read of each fixture shows (every SP
// fixture and its PT twin alike), the slots the writers rebuild from, and
// the rules of each form over small scripts.
#include <cctype>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/units.h"
#include "engine/header_fields.h"
#include "platform/gbk.h"
#include "tests/app/read_session.h"
#include "tests/test_names.h"

namespace read_test {
namespace {

using namespace app;
using platform::Gbk;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Row = std::pair<std::string, std::string>;  // title, value (UTF-8)
using Rows = std::vector<Row>;

Rows GridRows(fw::Ref<fw::Grid> grid) {
  Rows rows;
  for (int r = 1; r < grid->RowCount(); ++r) {
    rows.emplace_back(Utf8(grid->CellText(r, 0)), Utf8(grid->CellText(r, 1)));
  }
  return rows;
}

Rows LoadRows(const HeaderFieldLoad& load) {
  Rows rows;
  for (const HeaderRowGroup& g : load.groups) {
    for (std::size_t i = 0; i < g.titles.size(); ++i)
      rows.emplace_back(Utf8(g.titles[i]), Utf8(g.values[i]));
  }
  return rows;
}

struct FixtureCase {
  const char* stem;
  Rows rows;
};

// clang-format off
const std::vector<FixtureCase> kFixtureCases = {
    // A [pvp] section without copies of the fields gives no "[决斗场]" pair.
    {"header_all_fields", {
        {"学习等级", "15"}, {"升级间隔", "2"}, {"最大等级", "30"}, {"SP消耗", "20"},
        {"MP消耗1", "22"}, {"MP消耗2", "88"}, {"初始冷却", "500"}, {"[决斗场]", "800"},
        {"冷却时间", "6000"}, {"[通用型]", "4000"}, {"施放时间", "250"}, {"[通用型]", "200"},
        {"需要物品", "3037"}, {"物品个数1", "1"}, {"物品个数2", "2"}}},
    {"both_copies", {
        {"学习等级", "25"}, {"升级间隔", "2"}, {"最大等级", "40"}, {"SP消耗", "30"},
        {"MP消耗1", "40"}, {"MP消耗2", "160"},
        {"冷却时间", "9000"}, {"[地下城]", "7000"}, {"冷却时间", "12000"}, {"[决斗场]", "10000"},
        {"施放时间", "500"}, {"[地下城]", "400"}, {"施放时间", "700"}, {"[决斗场]", "600"}}},
    // Two copies but no [pvp]: the first copy only.
    {"header_copies_without_pvp", {
        {"学习等级", "5"}, {"升级间隔", "2"}, {"最大等级", "20"}, {"SP消耗", "10"},
        {"MP消耗1", "8"}, {"MP消耗2", "32"},
        {"冷却时间", "2000"}, {"[地下城]", "1200"}, {"施放时间", "100"}, {"[通用型]", "100"}}},
    // Two copies before [pvp], none after it: the first copy only.
    {"header_copy_before_pvp", {
        {"学习等级", "10"}, {"升级间隔", "2"}, {"最大等级", "20"}, {"SP消耗", "15"},
        {"MP消耗1", "16"}, {"MP消耗2", "64"},
        {"冷却时间", "5000"}, {"[通用型]", "3500"}, {"施放时间", "400"}, {"[地下城]", "300"}}},
    {"no_level_info", {
        {"学习等级", "30"}, {"升级间隔", "3"}, {"最大等级", "20"}, {"SP消耗", "40"},
        {"需要物品", "3037"}, {"物品个数1", "1"}, {"物品个数2", "2"}}},
    {"static_empty_block", {}},
};
// clang-format on

void PrintTo(const FixtureCase& c, std::ostream* os) {
  *os << c.stem;
}

class HeaderFixtureTest : public ReadSessionWith<CaseAndForm<FixtureCase>> {};

TEST_P(HeaderFixtureTest, TheReadShowsEveryFieldRowInTableOrder) {
  const auto& [c, form] = GetParam();
  Run([&] {
    using namespace main_window;
    h.Type(kMainWindow, "编辑框1", Fixture(c.stem, form));
    prompts.Ok(2);
    h.Click(kMainWindow, "读取按钮");
    EXPECT_THAT(GridRows(param_window::参数表格), ElementsAreArray(c.rows));
    fw::Grid& grid = *param_window::参数表格;
    for (int r = 1; r < grid.RowCount(); ++r) {
      EXPECT_TRUE(grid.CellReadOnly(r, 0)) << r;
      EXPECT_FALSE(grid.CellReadOnly(r, 1)) << r;
    }
    if (!c.rows.empty()) {
      EXPECT_EQ(Text(读取按钮), "释放数据");
      EXPECT_TRUE(编辑框1->Disabled());
      EXPECT_TRUE(保存文件按钮->Disabled());
    }
  });
}

INSTANTIATE_TEST_SUITE_P(Fixtures, HeaderFixtureTest, OverBothForms(kFixtureCases),
                         StemAndForm<FixtureCase>);

class HeaderTest : public ReadSessionWith<const char*> {};

TEST_P(HeaderTest, EachFieldHasItsColoursAndEachSlotItsValue) {
  Run([&] {
    PasteAndRead(Fixture("both_copies", GetParam()));
    const fw::Grid& grid = *param_window::参数表格;
    struct Colours {
      int row;
      fw::Colour back0, text0, back1, text1;
    };
    constexpr fw::Colour kUnset = fw::kDefaultColour;
    const Colours expected[] = {
        {1, 0x00ECECEC, kUnset, kUnset, kUnset},               // 学习等级: the title cell only
        {4, 0x00ECECEC, kUnset, kUnset, kUnset},               // SP消耗
        {5, 0x00808000, 0x00FFFFFF, 0x00808000, 0x00FFFFFF},   // MP消耗1
        {8, 0x00FF0000, 0x00ECECEC, 0x00FF0000, 0x00ECECEC},   // [地下城] of 冷却时间
        {10, 0x00FF0090, 0x00ECECEC, 0x00FF0090, 0x00ECECEC},  // [决斗场] of 冷却时间
        {11, 0x00C06000, 0x00ECECEC, 0x00C06000, 0x00ECECEC},  // 施放时间
        {14, 0x000060C0, 0x00ECECEC, 0x000060C0, 0x00ECECEC},  // [决斗场] of 施放时间
    };
    for (const Colours& c : expected) {
      SCOPED_TRACE(c.row);
      EXPECT_EQ(grid.CellBackColour(c.row, 0), c.back0);
      EXPECT_EQ(grid.CellTextColour(c.row, 0), c.text0);
      EXPECT_EQ(grid.CellBackColour(c.row, 1), c.back1);
      EXPECT_EQ(grid.CellTextColour(c.row, 1), c.text1);
    }
    const std::vector<std::string> slots = {
        g_hdrRequiredLevel, g_hdrRequiredLevelRange, g_hdrMaximumLevel,     g_hdrPurchaseCost,
        g_hdrConsumeMp1,    g_hdrConsumeMp2,         g_hdrStartCoolTime1,   g_hdrStartCoolTime2,
        g_hdrCoolTime1,     g_hdrCoolTime2,          g_hdrPvpCoolTime1,     g_hdrPvpCoolTime2,
        g_hdrCastingTime1,  g_hdrCastingTime2,       g_hdrPvpCastingTime1,  g_hdrPvpCastingTime2,
        g_hdrConsumeItem,   g_hdrConsumeItemCount1,  g_hdrConsumeItemCount2};
    EXPECT_THAT(slots, ElementsAre("25", "2", "40", "30", "40", "160", "", "", "9000", "7000",
                                   "12000", "10000", "500", "400", "700", "600", "", "", ""));
    for (int i = 0; i < kHeaderSlotCount; ++i) {
      EXPECT_EQ(HeaderSlotText(static_cast<HeaderSlot>(i)), slots[static_cast<std::size_t>(i)]);
    }

    // A second skill leaves nothing of the first: neither rows nor slots.
    Click("读取按钮");
    EXPECT_EQ(grid.RowCount(), 1);
    PasteAndRead(Fixture("header_copies_without_pvp", GetParam()));
    EXPECT_EQ(grid.RowCount(), 11);
    EXPECT_EQ(g_hdrPvpCoolTime1, "");
    EXPECT_EQ(g_hdrPvpCastingTime2, "");
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, HeaderTest, ::testing::Values("SP", "PT"), test_names::Text());

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
    {"only the first TAB is removed", "[required level]\r\n\t30\t\r\n", {{"学习等级", "30\t"}}},
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
}  // namespace read_test
