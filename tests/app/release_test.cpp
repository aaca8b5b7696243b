// Releasing a held skill: the editor returns to "读取数据" with every unit
// the release names back in its place, and the skill-list controls usable.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/editor_state.h"
#include "app/globals.h"
#include "app/units.h"
#include "framework/form.h"
#include "framework/runtime.h"
#include "platform/gbk.h"
#include "read_session.h"
#include "tests/test_names.h"

namespace read_test {
namespace {

using namespace app;
using ::testing::ElementsAre;

class ReleaseTest : public ReadSessionWith<const char*> {};

TEST_P(ReleaseTest, ReturnsEveryUnitToTheNoSkillState) {
  const char* form = GetParam();
  const std::string script = Fixture("both_copies", form);
  Run([&] {
    using namespace main_window;
    保存文件按钮->Enable();
    PasteAndRead(script);
    Click("PK单选框");
    Click("递增单选框");
    h.Type(kMainWindow, "最低编辑框", "2");
    mastery_window::全职业组合框->SetVisible(true);
    g_classChoicePending = true;
    param_window::参数表格->AppendRow("a");
    mastery_window::精通表格->AppendRow("b");
    EXPECT_TRUE(保存文件按钮->Disabled());

    EXPECT_THAT(Click("读取按钮"), ElementsAre());

    for (fw::Ref<fw::Radio> radio :
         {刷图单选框, PK单选框, 通用单选框, 增加单选框, 赋值单选框, 递增单选框, 倍率单选框}) {
      EXPECT_TRUE(radio->Disabled());
      EXPECT_FALSE(radio->Checked());
    }
    EXPECT_TRUE(变换按钮->Disabled());
    for (fw::Ref<fw::Label> label : {等级标签, 技能名称标签, 静态类型标签, 职业标签}) {
      EXPECT_EQ(label->Text(), "");
    }
    for (fw::Ref<fw::Edit> edit : {最低编辑框, 最高编辑框, 页数编辑框}) {
      EXPECT_EQ(edit->Text(), "1");
    }
    EXPECT_EQ(Text(读取按钮), "读取数据");
    EXPECT_FALSE(保存文件按钮->Disabled());
    EXPECT_FALSE(mastery_window::全职业组合框->Visible());
    EXPECT_FALSE(g_classChoicePending);
    EXPECT_EQ(param_window::参数表格->RowCount(), 1);
    EXPECT_EQ(mastery_window::精通表格->RowCount(), 1);
    EXPECT_EQ(数据表格->RowCount(), 1);
    EXPECT_EQ(静态表格->RowCount(), 1);
    EXPECT_EQ(描述编辑框->Text(), "");
    EXPECT_EQ(编辑框1->Text(), script);
    EXPECT_FALSE(编辑框1->Disabled());
    // The model's level part is empty; the choices survive for a re-read.
    EXPECT_EQ(g_scriptText, "");
    EXPECT_EQ(g_valuesPerLevel, 0);
    EXPECT_EQ(g_levelCount, 1);
    EXPECT_EQ(g_levelRows.Size(), 0);
    EXPECT_EQ(Named(g_readType), "决斗场");
    EXPECT_EQ(Named(g_modifyMode), "递增");
    EXPECT_EQ(Named(g_scriptFormat), form);
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, ReleaseTest, ::testing::Values("SP", "PT"), test_names::Text());

class SkillListControlsTest : public ReadSession {};

TEST_F(SkillListControlsTest, AHeldSkillLocksTheSkillListWindowWhileItIsLoaded) {
  Run([&] {
    fw::Window& list = *skill_list_window::window;
    // Not loaded: switching is harmless.
    DisableSkillListControls();
    EnableSkillListControls();
    ASSERT_TRUE(h.Click(kMainWindow, "加载按钮"));
    ASSERT_TRUE(list.IsLoaded());
    auto all = [&](bool disabled) {
      for (const char* name :
           {"鬼剑士组合框", "男格斗组合框", "女格斗组合框", "男法师组合框", "女法师组合框",
            "男枪手组合框", "女枪手组合框", "黑武士组合框", "圣职者组合框", "缔造者组合框",
            "暗夜使组合框", "加载技能按钮", "选择夹男", "选择夹女", "搜索按钮男", "搜索按钮女"}) {
        EXPECT_EQ(list.Find(name)->Disabled(), disabled) << name;
      }
      EXPECT_EQ(main_window::保存文件按钮->Disabled(), disabled);
    };
    PasteAndRead(Fixture("static_one_block", "PT"), 1);
    all(true);
    Click("读取按钮");
    all(false);
    list.Destroy();
  });
}

}  // namespace
}  // namespace read_test
