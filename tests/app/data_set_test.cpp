// Choosing a data set after a read: the level-info copy that is cut, the
// static copy that goes with it, the level table and level 1 in 数据表格,
// and the mode radios. Every SP fixture and its PT twin give the same result.
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/data_set.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/units.h"
#include "engine/text.h"
#include "platform/gbk.h"
#include "tests/app/read_session.h"
#include "tests/test_names.h"

namespace read_test {
namespace {

using namespace app;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Strings = std::vector<std::string>;

const std::string kBadBlock = "技能数据设置不正确！";

struct ChoiceCase {
  const char* stem;
  const char* radio;  // the read-type radio the user clicks
  Strings messages;
  Strings level1;      // column 0 of 数据表格
  const char* levels;  // 等级标签, also 最高编辑框 when a table was parsed
  Strings staticRows;  // column 0 of 静态表格
  const char* staticLabel;
  bool switchEnabled = false;
};

// clang-format off
const std::vector<ChoiceCase> kChoiceCases = {
    {"single_level_info_dungeon", "刷图单选框", {}, {"1200", "150", "2"}, "4", {"100", "30"}, "通用"},
    {"single_level_info_arena", "PK单选框", {}, {"45", "8"}, "3", {"8"}, "通用"},
    {"single_level_info_common", "通用单选框", {}, {"220", "60", "3"}, "3", {"3"}, "通用"},
    {"both_copies", "刷图单选框", {}, {"800", "400"}, "3", {"30", "5"}, "地下城"},
    {"both_copies", "PK单选框", {}, {"500", "250"}, "3", {"20", "3"}, "决斗场"},
    {"identical_copies", "刷图单选框", {}, {"640", "40", "5"}, "3", {"3000", "12"}, "地下城"},
    {"identical_copies", "PK单选框", {}, {"640", "40", "5"}, "3", {"3000", "12"}, "决斗场"},
    // No [pvp] at all: the first block is the dungeon copy.
    {"upper_case_dungeon", "刷图单选框", {}, {"20", "3000"}, "3", {"900"}, "通用"},
    // Counted, but not found by the cutter; the static data is still shown.
    {"upper_case_level_info", "通用单选框", {kBadBlock}, {}, "", {"6"}, "通用"},
    // A stray close tag before the block is a garbled block, not an empty table.
    {"garbled_level_info", "通用单选框", {kBadBlock}, {}, "", {"7"}, "通用"},
    {"gbk_trail_bracket", "通用单选框", {}, {"5", "180", "900"}, "2", {"4"}, "通用"},
    {"incomplete_last_level", "通用单选框", {}, {"410", "80", "11"}, "2", {"5000"}, "通用"},
    // A count of 0 or below loads no level.
    {"value_count_zero", "通用单选框", {}, {}, "0", {"2"}, "通用"},
    {"value_count_negative", "通用单选框", {}, {}, "0", {"3"}, "通用"},
    // No more rows than values, and no complete level to show.
    {"value_count_absurd", "通用单选框", {}, {"", "", ""}, "0", {"1"}, "通用"},
    // A value ending in the single byte 0x80 keeps its own row.
    {"euro_before_line_end", "通用单选框", {}, {"5€", "60"}, "2", {"12€", "30"}, "通用"},
};
// clang-format on

void PrintTo(const ChoiceCase& c, std::ostream* os) {
  *os << c.stem << " " << c.radio;
}

using ChoiceParam = std::tuple<ChoiceCase, const char*>;
class ChoiceTest : public ReadSessionWith<ChoiceParam> {};

TEST_P(ChoiceTest, CutsTheCopyAndShowsLevelOne) {
  const auto& [c, form] = GetParam();
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture(c.stem, form));
    EXPECT_THAT(Click(c.radio, c.messages.size()), ElementsAreArray(c.messages));
    fw::Radio& chosen = fw::Get<fw::Radio>(kMainWindow, c.radio);
    EXPECT_TRUE(chosen.Checked());
    EXPECT_TRUE(编辑框1->Disabled());
    EXPECT_EQ(Text(读取按钮), "释放数据");
    EXPECT_EQ(Named(g_readType), Text(fw::Ref<fw::Radio>{kMainWindow, c.radio}));
    EXPECT_EQ(g_scriptText, 编辑框1->Text());

    EXPECT_THAT(Column(数据表格), ElementsAreArray(c.level1));
    EXPECT_THAT(Column(数据表格, 1), ::testing::Each(""));
    EXPECT_EQ(Text(等级标签), c.levels);
    EXPECT_THAT(Column(静态表格), ElementsAreArray(c.staticRows));
    EXPECT_EQ(Text(静态类型标签), c.staticLabel);
    EXPECT_EQ(!变换按钮->Disabled(), c.switchEnabled);
    for (int row = 1; row < 静态表格->RowCount(); ++row) {
      EXPECT_TRUE(静态表格->CellReadOnly(row, 0));
      EXPECT_EQ(静态表格->CellBackColour(row, 0), 0x00ECECECu);
    }

    const bool parsed = c.messages.empty();
    if (parsed) {
      EXPECT_EQ(Text(最高编辑框), c.levels);
      EXPECT_EQ(Text(页数编辑框), "1");
      EXPECT_EQ(g_currentLevel, 1);
      for (int row = 1; row < 数据表格->RowCount(); ++row) {
        EXPECT_TRUE(数据表格->CellReadOnly(row, 0));
        EXPECT_FALSE(数据表格->CellReadOnly(row, 1));
        EXPECT_EQ(数据表格->CellBackColour(row, 0), 0x00ECECECu);
      }
      // The checked mode is the remembered one, with its headers.
      EXPECT_EQ(Named(g_modifyMode), "赋值");
      EXPECT_EQ(Utf8(数据表格->CellText(0, 0)), "技能原数值");
      EXPECT_EQ(Utf8(数据表格->CellText(0, 1)), "修改的数值");
      // The cut copy is recorded where it lies, and for PT it is the bare
      // values line.
      EXPECT_EQ(MidText(g_scriptText, g_levelInfoStart, g_levelInfoLength), g_levelInfoText);
      if (std::string(form) == "PT") {
        EXPECT_EQ(g_levelInfoText.find_first_of("\r\n"), std::string::npos);
        EXPECT_EQ(g_levelInfoText.back(), '\t');
      } else {
        EXPECT_TRUE(g_levelInfoText.starts_with("[@05][level info]"));
        EXPECT_TRUE(g_levelInfoText.ends_with("[@05][/level info]"));
      }
      const int pvp = FindText(g_scriptText, std::string(form) == "SP" ? "[@05][pvp]" : "[pvp]");
      EXPECT_EQ(g_levelInfoStart > pvp && pvp > 0, std::string(c.radio) == "PK单选框");
    } else {
      EXPECT_EQ(数据表格->RowCount(), 1);
      EXPECT_EQ(g_valuesPerLevel, 0);
      EXPECT_EQ(g_levelInfoText, "");
      EXPECT_EQ(g_levelInfoLength, 0);
    }
    for (fw::Ref<fw::Radio> radio : {增加单选框, 递增单选框, 倍率单选框}) {
      EXPECT_EQ(radio->Disabled(), !parsed);
      EXPECT_FALSE(radio->Checked());
    }
    EXPECT_EQ(赋值单选框->Disabled(), !parsed);
    EXPECT_EQ(赋值单选框->Checked(), parsed);
  });
}

std::string ChoiceName(const ::testing::TestParamInfo<ChoiceParam>& info) {
  const ChoiceCase& c = std::get<0>(info.param);
  const std::string radio = c.radio;
  const char* set = radio == "刷图单选框" ? "dungeon" : radio == "PK单选框" ? "arena" : "common";
  return std::string(c.stem) + "_" + set + "_" + std::get<1>(info.param);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ChoiceTest,
                         ::testing::Combine(::testing::ValuesIn(kChoiceCases),
                                            ::testing::Values("SP", "PT")),
                         ChoiceName);

class DataSetTest : public ReadSessionWith<const char*> {};

TEST_P(DataSetTest, AnotherChoiceReplacesTheLevelPartAndKeepsTheUsersInputElsewhere) {
  const char* form = GetParam();
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("both_copies", form));
    Click("PK单选框");
    h.EditCell(kMainWindow, "数据表格", 1, 1, "9");
    Click("刷图单选框");
    EXPECT_TRUE(刷图单选框->Checked());
    EXPECT_FALSE(PK单选框->Checked());
    EXPECT_THAT(Column(数据表格), ElementsAre("800", "400"));
    EXPECT_THAT(Column(数据表格, 1), ElementsAre("", ""));  // the grid was emptied
    EXPECT_THAT(Column(静态表格), ElementsAre("30", "5"));
    EXPECT_EQ(g_levelRows.Size(), 3);
    EXPECT_EQ(g_levelValues.Size(), 6);
  });
}

TEST_P(DataSetTest, IdenticalCopiesAreToldApartByWhereTheyLie) {
  const char* form = GetParam();
  Run([&] {
    PasteAndRead(Fixture("identical_copies", form));
    Click("刷图单选框");
    const int dungeonStart = g_levelInfoStart;
    const std::string dungeonBlock = g_levelInfoText;
    Click("PK单选框");
    EXPECT_EQ(g_levelInfoText, dungeonBlock);
    EXPECT_GT(g_levelInfoStart, dungeonStart);
    EXPECT_EQ(MidText(g_scriptText, g_levelInfoStart, g_levelInfoLength), g_levelInfoText);
  });
}

TEST_P(DataSetTest, TheSwitchButtonTogglesTheStaticCopy) {
  const char* form = GetParam();
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("static_two_blocks", form), 1);
    EXPECT_EQ(Text(静态类型标签), "地下城");
    Click("变换按钮");
    EXPECT_EQ(Text(静态类型标签), "决斗场");
    EXPECT_THAT(Column(静态表格), ElementsAre("120", "4"));
    Click("变换按钮");
    EXPECT_EQ(Text(静态类型标签), "地下城");
    EXPECT_THAT(Column(静态表格), ElementsAre("180", "5"));
    EXPECT_TRUE(编辑框1->Disabled());
  });
}

TEST_P(DataSetTest, AFailedSwitchKeepsTheHeldSkillLocked) {
  const char* form = GetParam();
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("static_arena_missing", form), 1);
    EXPECT_THAT(Click("变换按钮", 1), ElementsAre("技能没有[决斗场]静态数据！"));
    EXPECT_EQ(Text(静态类型标签), "决斗场");
    EXPECT_EQ(静态表格->RowCount(), 1);
    EXPECT_FALSE(g_staticDataShown);
    EXPECT_TRUE(编辑框1->Disabled());
    EXPECT_EQ(Text(读取按钮), "释放数据");
    EXPECT_FALSE(h.Type(kMainWindow, "编辑框1", "x"));
  });
}

TEST_P(DataSetTest, ARadioRefusesAScriptWithoutLevelDataAndAnUnknownForm) {
  const char* form = GetParam();
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("static_one_block", form), 1);
    // The handlers run as after a click on an enabled radio.
    EXPECT_THAT(Prompted(1, [] { OnDungeonRadioClicked(); }),
                ElementsAre("该技能没有随等级变化的数据！"));
    EXPECT_FALSE(刷图单选框->Checked());
    EXPECT_THAT(Column(静态表格), ElementsAre("250", "30", "2"));  // nothing cleared

    Click("读取按钮");
    PasteAndRead(Fixture("single_level_info_common", form));
    g_scriptFormat.reset();
    EXPECT_THAT(Click("通用单选框", 1), ElementsAre("不支持的格式！"));
    EXPECT_FALSE(通用单选框->Checked());
    EXPECT_FALSE(编辑框1->Disabled());
    EXPECT_EQ(Named(g_readType), "");
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, DataSetTest, ::testing::Values("SP", "PT"), test_names::Text());

// Bytes 0x80 (the euro sign) and 0xFF are characters of one byte in code
// page 936: a bar after one separates PT values as any other bar does.
class SingleByteCharacters : public ReadSession {};

TEST_F(SingleByteCharacters, AreFollowedByTheirOwnSeparators) {
  Run([&] {
    using namespace main_window;
    PasteAndRead(
        "[name]\r\n<12::earth_rend_name`x`>\t\r\n[type]\r\n`active`\t\r\n[level info]\r\n"
        "2\t1\x80|2\t3\xFF|4\t\r\n[/level info]\r\n[static data]\r\n1\t5\x80|7\t\r\n"
        "[/static data]\r\n");
    Click("通用单选框");
    EXPECT_THAT(g_levelValues.Items(), ElementsAre("1\x80", "2", "3\xFF", "4"));
    EXPECT_EQ(g_levelCount, 2);
    EXPECT_THAT(Column(数据表格), ElementsAre("1€", "2"));
    EXPECT_THAT(Column(静态表格), ElementsAre("1", "5€", "7"));
  });
}

}  // namespace
}  // namespace read_test
