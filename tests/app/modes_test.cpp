// The four modification-mode radios: the remembered mode, the headers and
// the column-0 format of 数据表格, and the return to level 1.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/units.h"
#include "read_session.h"
#include "tests/test_names.h"

namespace read_test {
namespace {

using namespace app;
using ::testing::ElementsAre;

struct ModeCase {
  const char* radio;
  const char* mode;
  const char* header0;
  const char* header1;
  bool baseEditable;
};

const std::vector<ModeCase> kModes = {
    {"增加单选框", "增加", "技能原数值", "增加的数值", false},
    {"赋值单选框", "赋值", "技能原数值", "修改的数值", false},
    {"递增单选框", "递增", "1级数值", "递增数值", true},
    {"倍率单选框", "倍率", "技能原数值", "倍率", false},
};

class ModesTest : public ReadSessionWith<const char*> {};

TEST_P(ModesTest, EachModeRemembersItselfRelabelsTheGridAndShowsLevelOne) {
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("both_copies", GetParam()));
    Click("PK单选框");
    h.EditCell(kMainWindow, "数据表格", 1, 1, "5");
    // Every mode after every other one, starting from the last level.
    for (const ModeCase& from : kModes) {
      for (const ModeCase& to : kModes) {
        SCOPED_TRACE(std::string(from.mode) + " -> " + to.mode);
        Click(from.radio);
        Click("下一页按钮");
        Click("下一页按钮");
        EXPECT_EQ(g_currentLevel, 3);
        Click(to.radio);
        EXPECT_TRUE(fw::Get<fw::Radio>(kMainWindow, to.radio).Checked());
        EXPECT_EQ(Named(g_modifyMode), to.mode);
        EXPECT_EQ(g_currentLevel, 1);
        EXPECT_EQ(Text(页数编辑框), "1");
        EXPECT_THAT(Column(数据表格), ElementsAre("500", "250"));
        EXPECT_THAT(Column(数据表格, 1), ElementsAre("5", ""));
        EXPECT_EQ(Utf8(数据表格->CellText(0, 0)), to.header0);
        EXPECT_EQ(Utf8(数据表格->CellText(0, 1)), to.header1);
        for (int row = 1; row <= 2; ++row) {
          EXPECT_EQ(数据表格->CellReadOnly(row, 0), !to.baseEditable);
          EXPECT_EQ(数据表格->CellBackColour(row, 0), to.baseEditable ? 0x00FFFFFFu : 0x00ECECECu);
          EXPECT_FALSE(数据表格->CellReadOnly(row, 1));
        }
      }
    }
  });
}

TEST_P(ModesTest, AModeWithoutLevelDataIsStillRemembered) {
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("value_count_zero", GetParam()));
    Click("通用单选框");
    EXPECT_THAT(Click("递增单选框", 1), ElementsAre("请先加载一个技能数据！"));
    EXPECT_EQ(Named(g_modifyMode), "递增");
    EXPECT_EQ(Utf8(数据表格->CellText(0, 0)), "1级数值");
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, ModesTest, ::testing::Values("SP", "PT"), test_names::Text());

}  // namespace
}  // namespace read_test
