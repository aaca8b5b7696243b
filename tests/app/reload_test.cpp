// The quiet re-read after a write into the script: the skill is read again
// and the data set and mode the user had chosen are chosen again.
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/editor_state.h"
#include "app/globals.h"
#include "app/read_skill.h"
#include "app/read_type.h"
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

// What every write does after it has put the new text into 编辑框1.
void ReloadAfterWrite() {
  ReleaseSkillData();
  main_window::编辑框1->Enable();
  main_window::读取按钮->SetText(Gbk("读取数据"));
  SetReadTypeRadiosDisabled(true, true, true);
  g_reportMissingData = false;
  ReloadSkillAndRestoreSelection();
}

struct ReloadCase {
  const char* stem;
  const char* dataSet;  // the read-type radio chosen
  const char* mode;     // the mode radio chosen, or "" for none
  const char* checkedMode;
  const char* remembered;
  const char* header0;
  std::vector<std::string> level1;
};

// clang-format off
const std::vector<ReloadCase> kCases = {
    {"both_copies", "PK单选框", "递增单选框", "递增单选框", "递增", "1级数值", {"500", "250"}},
    {"both_copies", "刷图单选框", "增加单选框", "增加单选框", "增加", "技能原数值", {"800", "400"}},
    {"both_copies", "PK单选框", "倍率单选框", "倍率单选框", "倍率", "技能原数值", {"500", "250"}},
    {"single_level_info_common", "通用单选框", "赋值单选框", "赋值单选框", "赋值", "技能原数值", {"220", "60", "3"}},
    // No mode chosen: the mode the parser checked, not one of an earlier skill.
    {"single_level_info_dungeon", "刷图单选框", "", "赋值单选框", "赋值", "技能原数值", {"1200", "150", "2"}},
};
// clang-format on

void PrintTo(const ReloadCase& c, std::ostream* os) {
  *os << c.stem << " " << c.dataSet << " " << c.mode;
}

using ReloadParam = std::tuple<ReloadCase, const char*>;
class ReloadTest : public ReadSessionWith<ReloadParam> {};

TEST_P(ReloadTest, RestoresTheChosenDataSetAndMode) {
  const auto& [c, form] = GetParam();
  Run([&] {
    using namespace main_window;
    // An earlier skill leaves another remembered mode behind.
    PasteAndRead(Fixture("identical_copies", form));
    Click("刷图单选框");
    Click("递增单选框");
    Click("读取按钮");

    PasteAndRead(Fixture(c.stem, form));
    Click(c.dataSet);
    if (*c.mode != '\0') Click(c.mode);
    Click("下一页按钮");
    EXPECT_THAT(Prompted(0, &ReloadAfterWrite), ElementsAre());

    EXPECT_TRUE(fw::Get<fw::Radio>(kMainWindow, c.dataSet).Checked());
    for (const char* radio : {"增加单选框", "赋值单选框", "递增单选框", "倍率单选框"}) {
      EXPECT_EQ(fw::Get<fw::Radio>(kMainWindow, radio).Checked(),
                std::string(radio) == c.checkedMode)
          << radio;
    }
    EXPECT_EQ(Named(g_modifyMode), c.remembered);
    EXPECT_EQ(Utf8(数据表格->CellText(0, 0)), c.header0);
    EXPECT_THAT(Column(数据表格), ElementsAreArray(c.level1));
    EXPECT_EQ(g_currentLevel, 1);
    EXPECT_EQ(Text(读取按钮), "释放数据");
    EXPECT_TRUE(编辑框1->Disabled());
  });
}

std::string ReloadName(const ::testing::TestParamInfo<ReloadParam>& info) {
  return std::to_string(info.index) + "_" + std::get<1>(info.param);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ReloadTest,
                         ::testing::Combine(::testing::ValuesIn(kCases),
                                            ::testing::Values("SP", "PT")),
                         ReloadName);

class ReloadEdgeTest : public ReadSessionWith<const char*> {};

TEST_P(ReloadEdgeTest, ADataSetTheNewTextNoLongerOffersIsNotChosen) {
  const char* form = GetParam();
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("both_copies", form));
    Click("PK单选框");
    Click("增加单选框");
    // The write's new text holds only a common copy.
    编辑框1->Enable();
    编辑框1->SetText(Fixture("single_level_info_common", form));
    EXPECT_THAT(Prompted(0, &ReloadAfterWrite), ElementsAre());
    for (fw::Ref<fw::Radio> radio :
         {刷图单选框, PK单选框, 通用单选框, 增加单选框, 赋值单选框, 递增单选框, 倍率单选框}) {
      EXPECT_FALSE(radio->Checked());
    }
    EXPECT_TRUE(增加单选框->Disabled());
    EXPECT_EQ(数据表格->RowCount(), 1);
    EXPECT_EQ(Named(g_modifyMode), "增加");
    EXPECT_EQ(Named(g_readType), "决斗场");
    EXPECT_EQ(Text(读取按钮), "释放数据");
  });
}

TEST_P(ReloadEdgeTest, AScriptWithoutDataIsReadQuietly) {
  const char* form = GetParam();
  Run([&] {
    PasteAndRead(Fixture("static_empty_block", form), 2);
    EXPECT_THAT(Prompted(0, &ReloadAfterWrite), ElementsAre());
    EXPECT_EQ(Text(main_window::读取按钮), "读取数据");
    EXPECT_FALSE(main_window::编辑框1->Disabled());
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, ReloadEdgeTest, ::testing::Values("SP", "PT"), test_names::Text());

}  // namespace
}  // namespace read_test
