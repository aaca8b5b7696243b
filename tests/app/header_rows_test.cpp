// The header fields in 参数表格: what a read of each fixture shows (every SP
// fixture and its PT twin alike) and the slots the writers rebuild from.
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/header_rows.h"
#include "app/units.h"
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

}  // namespace
}  // namespace read_test
