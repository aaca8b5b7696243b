// The mastery levels in 精通表格: what a read of each fixture shows (SP and
// PT alike), and the class choice of a skill that several classes share.
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/mastery_rows.h"
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
using Strings = std::vector<std::string>;

Rows GridRows() {
  const fw::Grid& grid = *mastery_window::精通表格;
  Rows rows;
  for (int r = 1; r < grid.RowCount(); ++r) {
    rows.emplace_back(Utf8(grid.CellText(r, 0)), Utf8(grid.CellText(r, 1)));
  }
  return rows;
}

Strings Utf8All(const std::vector<std::string>& gbk) {
  Strings out;
  for (const std::string& s : gbk) out.push_back(Utf8(s));
  return out;
}

struct FixtureCase {
  const char* stem;
  const char* classLabel;
  Rows rows;
  Strings values;  // g_masteryValues
  bool second;
  int comboItems;  // 0: 全职业组合框 stays hidden
  int messages;    // the read's messages about missing sections
};

// clang-format off
const std::vector<FixtureCase> kFixtureCases = {
    {"single_level_info_dungeon", "鬼剑士",
     {{"未转职", "40"}, {"剑魂", "45"}, {"鬼泣", "40"}, {"狂战士", "40"}, {"阿修罗", "40"}},
     {"40", "45", "40", "40", "40"}, false, 0, 0},
    {"static_two_blocks", "黑暗武士", {{"黑暗武士", "35"}}, {"35"}, false, 0, 1},
    {"static_one_block", "魔法师(男)", {{"未转职", "30"}, {"元素爆破师", "30"}, {"冰结师", "35"}},
     {"30", "30", "35"}, false, 0, 1},
    {"value_count_zero", "格斗家(男/女)",
     {{"未转职", "20"}, {"气功师", "20"}, {"街霸", "20"}, {"散打", "20"}, {"柔道家", "25"}},
     {"20", "20", "20", "20", "25"}, false, 0, 0},
    {"mastery_empty_value", "鬼剑士",
     {{"未转职", "20"}, {"剑魂", ""}, {"鬼泣", "25"}, {"狂战士", "20"}, {"阿修罗", "20"}},
     {"20", "", "25", "20", "20"}, false, 0, 1},
    {"mastery_section_at_end", "暗夜使者", {{"未转职", "30"}, {"刺客", "25"}, {"死灵术士", "20"}},
     {"30", "25", "20"}, false, 0, 1},
    // Both sections: the class-special one, whatever the label says.
    {"mastery_second_growtype", "全职业通用技能", {{"职业特殊技", "30"}, {"职业特殊技", "15"}},
     {"0", "-1", "30", "15"}, true, 0, 1},
    {"mastery_all_classes", "全职业通用技能", {}, {}, false, 10, 0},
    {"mastery_mage_pair", "魔法师(男/女)", {}, {}, false, 3, 0},
    {"garbled_level_info", "鬼剑士/黑暗武士", {}, {}, false, 3, 0},
};
// clang-format on

void PrintTo(const FixtureCase& c, std::ostream* os) {
  *os << c.stem;
}

class MasteryFixtureTest : public ReadSessionWith<CaseAndForm<FixtureCase>> {};

TEST_P(MasteryFixtureTest, TheReadShowsTheRowsOrOffersTheClassChoice) {
  const auto& [c, form] = GetParam();
  Run([&] {
    g_hasSecondGrowtype = !c.second;
    PasteAndRead(Fixture(c.stem, form), static_cast<std::size_t>(c.messages));
    EXPECT_EQ(Text(main_window::职业标签), c.classLabel);
    EXPECT_THAT(GridRows(), ElementsAreArray(c.rows));
    EXPECT_THAT(Utf8All(g_masteryValues.Items()), ElementsAreArray(c.values));
    if (!c.rows.empty()) {
      EXPECT_EQ(g_hasSecondGrowtype, c.second);
    }
    fw::Combo& combo = *mastery_window::全职业组合框;
    EXPECT_EQ(combo.Visible(), c.comboItems > 0);
    EXPECT_EQ(g_classChoicePending, c.comboItems > 0);
    if (c.comboItems > 0) {
      EXPECT_EQ(combo.Count(), c.comboItems);
      EXPECT_EQ(combo.Current(), 0);
      EXPECT_EQ(Utf8(combo.CurrentText()), "请选择一个职业");
    }
    const fw::Grid& grid = *mastery_window::精通表格;
    for (int r = 1; r < grid.RowCount(); ++r) {
      EXPECT_TRUE(grid.CellReadOnly(r, 0));
      EXPECT_EQ(grid.CellBackColour(r, 0), 0x00ECECECu);
      EXPECT_FALSE(grid.CellReadOnly(r, 1));
      EXPECT_EQ(grid.CellBackColour(r, 1), fw::kDefaultColour);
    }
  });
}

INSTANTIATE_TEST_SUITE_P(Fixtures, MasteryFixtureTest, OverBothForms(kFixtureCases),
                         StemAndForm<FixtureCase>);

class MasteryChoiceTest : public ReadSessionWith<const char*> {
 protected:
  bool Choose(int item) { return h.Choose(kMasteryLevelWindow, "全职业组合框", item); }
};

TEST_P(MasteryChoiceTest, PickingAClassLoadsItsGrowtypesAndThePlaceholderEmptiesTheGrid) {
  Run([&] {
    using namespace mastery_window;
    PasteAndRead(Fixture("mastery_all_classes", GetParam()));
    const Strings items = {"请选择一个职业", "鬼剑士",     "格斗家(男/女)", "神枪手(男/女)",
                           "魔法师(女)",     "魔法师(男)", "圣职者",        "暗夜使者",
                           "黑暗武士",       "缔造者"};
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(Utf8(全职业组合框->ItemText(i)), items[static_cast<std::size_t>(i)]);
      EXPECT_EQ(全职业组合框->ItemData(i), i);
    }
    ASSERT_TRUE(Choose(6));
    EXPECT_EQ(Text(main_window::职业标签), "圣职者");
    EXPECT_THAT(GridRows(),
                ElementsAre(Row{"未转职", "10"}, Row{"圣骑士", "9"}, Row{"蓝拳圣使", "8"},
                            Row{"驱魔师", "7"}, Row{"复仇者", "6"}));
    ASSERT_TRUE(Choose(5));  // another pick replaces the rows
    EXPECT_THAT(GridRows(),
                ElementsAre(Row{"未转职", "10"}, Row{"元素爆破师", "9"}, Row{"冰结师", "8"},
                            Row{"无用数据", "7"}, Row{"无用数据", "6"}));
    EXPECT_EQ(精通表格->CellBackColour(4, 1), 0x00ECECECu);
    EXPECT_FALSE(精通表格->CellReadOnly(4, 1));
    EXPECT_EQ(g_masteryValues.Size(), 5);
    ASSERT_TRUE(Choose(0));
    EXPECT_EQ(精通表格->RowCount(), 1);
    EXPECT_EQ(Text(main_window::职业标签), "魔法师(男)");

    // A release hides the choice; the next read offers it again.
    Click("读取按钮");
    EXPECT_FALSE(全职业组合框->Visible());
    PasteAndRead(Fixture("mastery_mage_pair", GetParam()));
    EXPECT_TRUE(全职业组合框->Visible());
    EXPECT_EQ(全职业组合框->Count(), 3);
  });
}

TEST_P(MasteryChoiceTest, APickThatLoadsRowsHoldsASkillThatHeldNothingElse) {
  // Only a name and a mastery section: nothing holds the skill until a
  // class is picked.
  const std::string sp =
      "[@05][name]\r\n[@09]skillname.str\r\n[@0A]gale_step_name\r\n"
      "[@05][growtype maximum level]\r\n[@02]10\r\n[@02]10\r\n";
  const std::string pt =
      "[name]\r\n<12::gale_step_name`x`>\t\r\n[growtype maximum level]\r\n10\t10\t\r\n";
  Run([&] {
    using namespace main_window;
    保存文件按钮->Enable();
    PasteAndRead(std::string(GetParam()) == "SP" ? sp : pt, 2);
    EXPECT_EQ(Text(读取按钮), "读取数据");
    EXPECT_FALSE(保存文件按钮->Disabled());
    ASSERT_TRUE(Choose(1));
    EXPECT_EQ(mastery_window::精通表格->RowCount(), 3);
    EXPECT_EQ(Text(读取按钮), "释放数据");
    EXPECT_TRUE(编辑框1->Disabled());
    EXPECT_TRUE(保存文件按钮->Disabled());
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, MasteryChoiceTest, ::testing::Values("SP", "PT"),
                         test_names::Text());

}  // namespace
}  // namespace read_test
