// Pasting a script of either form into 编辑框1 and pressing 读取按钮: what the
// read shows and which data sets it offers, over the script fixtures. Every
// SP fixture and its PT twin give the same result.
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/editor_state.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/read_skill.h"
#include "app/units.h"
#include "platform/gbk.h"
#include "tests/app/read_session.h"

namespace read_test {
namespace {

using namespace app;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Strings = std::vector<std::string>;

const std::string kNoLevelData = "该技能没有随等级变化的数据！";
const std::string kNoStaticData = "该技能没有静态数据！";
const std::string kNotSupported = "只支持SuperPVF和PVFTool解密的数据格式！";

struct ReadCase {
  const char* stem;
  const char* name;
  const char* skillClass;
  const char* offered;  // read-type radios enabled: d(ungeon), p(vp), c(ommon)
  Strings messages;
  bool held;           // "释放数据" with 编辑框1 locked
  Strings staticRows;  // column 0 of 静态表格
  const char* staticLabel;
  bool switchEnabled;
  Strings ptStaticRows = {"-"};  // when the PT twin shows other rows
};

// clang-format off
const std::vector<ReadCase> kReadCases = {
    {"single_level_info_dungeon", "崩嶽斩", "鬼剑士", "d", {}, true, {}, "", false},
    {"single_level_info_arena", "连环速射", "神枪手(女)", "p", {}, true, {}, "", false},
    {"single_level_info_common", "碎岩拳", "格斗家(男)", "c", {}, true, {}, "", false},
    {"both_copies", "重炮轰击", "神枪手(男)", "dp", {}, true, {}, "", false},
    {"identical_copies", "火焰新星", "魔法师(女)", "dp", {}, true, {}, "", false},
    // Held by its header fields and mastery levels alone.
    {"no_level_info", "守护祷言", "圣职者", "", {kNoLevelData, kNoStaticData}, true, {}, "", false},
    {"static_one_block", "雷霆之环", "魔法师(男)", "", {kNoLevelData}, true, {"250", "30", "2"}, "通用", false},
    {"static_two_blocks", "暗影连斩", "黑暗武士", "", {kNoLevelData}, true, {"180", "5"}, "地下城", true},
    {"static_arena_missing", "圣光审判", "圣职者", "", {kNoLevelData}, true, {"140", "2"}, "地下城", true},
    // An empty block is missing data in both forms.
    {"static_empty_block", "飞燕踢", "格斗家(女)", "", {kNoLevelData, "技能没有静态数据！"}, false, {}, "通用", false},
    // A bare marker is no SP value; a lone TAB is one empty PT value.
    {"static_marker_only", "精准射击", "神枪手(男/女)", "", {kNoLevelData}, true, {}, "通用", false, {""}},
    // Counted in any letter case, but placed only by its exact tag.
    {"upper_case_level_info", "毒刃投掷", "暗夜使者", "c", {}, true, {}, "", false},
    {"upper_case_dungeon", "时砂沙漏", "缔造者", "d", {}, true, {}, "", false},
    {"form_mark_in_string", "", "", "", {kNotSupported}, false, {}, "", false},
    {"gbk_trail_bracket", "幻影剑舞", "鬼剑士", "c", {}, true, {}, "", false},
    {"incomplete_last_level", "破甲重击", "格斗家(男)", "c", {}, true, {}, "", false},
    {"value_count_zero", "锁喉擒拿", "格斗家(男/女)", "c", {}, true, {}, "", false},
    {"value_count_negative", "地雷布设", "神枪手(男)", "c", {}, true, {}, "", false},
    {"value_count_absurd", "翻滚射击", "神枪手(女)", "c", {}, true, {}, "", false},
    {"garbled_level_info", "裂地斩", "鬼剑士/黑暗武士", "c", {}, true, {}, "", false},
    {"euro_before_line_end", "裂地斩", "鬼剑士/黑暗武士", "c", {}, true, {}, "", false},
};
// clang-format on

void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.stem;
}

using ReadParam = std::tuple<ReadCase, const char*>;
class ReadFixtureTest : public ReadSessionWith<ReadParam> {};

TEST_P(ReadFixtureTest, ShowsNameClassDataSetsAndStaticData) {
  const auto& [c, form] = GetParam();
  const Strings& staticRows =
      std::string(form) == "PT" && c.ptStaticRows != Strings{"-"} ? c.ptStaticRows : c.staticRows;
  Run([&] {
    using namespace main_window;
    保存文件按钮->Enable();  // as after a skill was picked from the list
    EXPECT_THAT(PasteAndRead(Fixture(c.stem, form), c.messages.size()),
                ElementsAreArray(c.messages));
    EXPECT_EQ(Text(技能名称标签), c.name);
    EXPECT_EQ(Text(职业标签), c.skillClass);
    const std::string offered = c.offered;
    EXPECT_EQ(!刷图单选框->Disabled(), offered.find('d') != std::string::npos);
    EXPECT_EQ(!PK单选框->Disabled(), offered.find('p') != std::string::npos);
    EXPECT_EQ(!通用单选框->Disabled(), offered.find('c') != std::string::npos);
    for (fw::Ref<fw::Radio> radio : {刷图单选框, PK单选框, 通用单选框}) {
      EXPECT_FALSE(radio->Checked());
    }
    EXPECT_EQ(Text(读取按钮), c.held ? "释放数据" : "读取数据");
    EXPECT_EQ(编辑框1->Disabled(), c.held);
    // No other skill may be opened, nor the file saved, over a held one.
    EXPECT_EQ(保存文件按钮->Disabled(), c.held);
    EXPECT_THAT(Column(静态表格), ElementsAreArray(staticRows));
    EXPECT_EQ(Text(静态类型标签), c.staticLabel);
    EXPECT_EQ(!变换按钮->Disabled(), c.switchEnabled);
    // The read never chooses a data set.
    EXPECT_EQ(数据表格->RowCount(), 1);
    EXPECT_EQ(g_valuesPerLevel, 0);
    for (fw::Ref<fw::Radio> radio : {增加单选框, 赋值单选框, 递增单选框, 倍率单选框}) {
      EXPECT_TRUE(radio->Disabled());
    }
    if (c.messages != Strings{kNotSupported}) {
      EXPECT_EQ(Named(g_scriptFormat), form);
    }
  });
}

std::string CaseName(const ::testing::TestParamInfo<ReadParam>& info) {
  return std::string(std::get<0>(info.param).stem) + "_" + std::get<1>(info.param);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ReadFixtureTest,
                         ::testing::Combine(::testing::ValuesIn(kReadCases),
                                            ::testing::Values("SP", "PT")),
                         CaseName);

class ReadTest : public ReadSession {};

TEST_F(ReadTest, ARefusedTextChangesNothingAndKeepsTheFormerForm) {
  const std::vector<std::string> refused = {
      "",  // an empty box
      platform::Gbk(kScriptBoxHint),
      Fixture("form_mark_in_string", "SP"),
      Fixture("form_mark_in_string", "PT"),
  };
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("static_one_block", "SP"), 1);
    Click("读取按钮");  // release
    for (const std::string& text : refused) {
      EXPECT_THAT(PasteAndRead(text, 1), ElementsAre(kNotSupported));
      EXPECT_EQ(Named(g_scriptFormat), "SP");
      EXPECT_EQ(Text(读取按钮), "读取数据");
      EXPECT_FALSE(编辑框1->Disabled());
      EXPECT_EQ(编辑框1->Text(), text);
      EXPECT_EQ(静态表格->RowCount(), 1);
    }
  });
}

TEST_F(ReadTest, AReadThatHoldsNothingCanBeRepeatedAndNoEarlierClassSurvives) {
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("static_empty_block", "PT"), 2);
    EXPECT_EQ(Text(职业标签), "格斗家(女)");
    EXPECT_FALSE(编辑框1->Disabled());
    // Still "读取数据": the box may be edited and read again.
    const std::string noName = "[type]\r\n`active`\t\r\n";
    EXPECT_THAT(PasteAndRead(noName, 2), ElementsAre(kNoLevelData, kNoStaticData));
    EXPECT_EQ(Text(技能名称标签), "该技能没有名称参数");
    EXPECT_EQ(Text(职业标签), "");
  });
}

TEST_F(ReadTest, AQuietReadShowsNoMessages) {
  Run([&] {
    g_reportMissingData = false;
    for (const char* stem : {"no_level_info", "static_empty_block", "static_one_block"}) {
      for (const char* form : {"SP", "PT"}) {
        SCOPED_TRACE(std::string(stem) + " " + form);
        ReleaseSkillData();
        main_window::编辑框1->SetText(Fixture(stem, form));
        EXPECT_THAT(Prompted(0, [] { ReadOrReleaseSkill(); }), ElementsAre());
      }
    }
  });
}

// A read whose dungeon static copy is missing offers the switch to the arena
// copy and holds nothing, so the user may read another script without a
// release; that read must not leave the switch to the first script's copy.
class SwitchTest : public ReadSessionWith<const char*> {};

TEST_P(SwitchTest, EachReadStartsWithTheSwitchDisabled) {
  const std::string form = GetParam();
  const std::string first =
      form == "SP" ? "[@05][name]\r\n[@09]skillname.str\r\n[@0A]earth_rend_name\r\n"
                     "[@05][static data]\r\n[@05][/static data]\r\n[@05][pvp]\r\n"
                     "[@05][static data]\r\n[@02]77\r\n[@05][/static data]\r\n[@05][/pvp]\r\n"
                   : "[name]\r\n<12::earth_rend_name`x`>\t\r\n[static data]\r\n[/static data]\r\n"
                     "[pvp]\r\n[static data]\r\n77\t\r\n[/static data]\r\n[/pvp]\r\n";
  Run([&] {
    using namespace main_window;
    EXPECT_THAT(PasteAndRead(first, 2), ElementsAre(kNoLevelData, "技能没有[地下城]静态数据！"));
    ASSERT_EQ(Text(读取按钮), "读取数据");
    ASSERT_FALSE(变换按钮->Disabled());
    PasteAndRead(Fixture("single_level_info_common", form));
    EXPECT_EQ(Text(读取按钮), "释放数据");
    EXPECT_TRUE(变换按钮->Disabled());
    EXPECT_FALSE(h.Click(kMainWindow, "变换按钮"));
    EXPECT_EQ(静态表格->RowCount(), 1);
    // A refused text is a read too.
    Click("读取按钮");
    PasteAndRead(first, 2);
    EXPECT_THAT(PasteAndRead("no form", 1), ElementsAre(kNotSupported));
    EXPECT_TRUE(变换按钮->Disabled());
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, SwitchTest, ::testing::Values("SP", "PT"),
                         [](const auto& test) { return std::string(test.param); });

}  // namespace
}  // namespace read_test
