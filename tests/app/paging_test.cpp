// Paging through the levels of the chosen data set (<, >, 跳转) and the
// clamp of the page and range edits to the level count.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/units.h"
#include "platform/gbk.h"
#include "read_session.h"
#include "tests/test_names.h"

namespace read_test {
namespace {

using namespace app;
using platform::Gbk;
using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

const std::string kNoTable = "请先加载一个技能数据！";
const std::string kFirst = "当前已是第一级数据！";
const std::string kLast = "当前已是满级数据！";
const std::string kOutOfRange = "超出技能等级范围！";

class PagingTest : public ReadSessionWith<const char*> {
 protected:
  // single_level_info_dungeon: four levels of three values.
  void ChooseDungeon() {
    PasteAndRead(Fixture("single_level_info_dungeon", GetParam()));
    Click("刷图单选框");
  }
};

TEST_P(PagingTest, ThePagingButtonsStepThroughTheLevelsAndStopAtBothEnds) {
  struct Step {
    const char* button;
    Strings messages;
    int level;
    Strings shown;
  };
  const std::vector<Step> steps = {
      {"上一页按钮", {kFirst}, 1, {"1200", "150", "2"}},
      {"下一页按钮", {}, 2, {"1350", "160", "2"}},
      {"下一页按钮", {}, 3, {"1500", "170", "3"}},
      {"下一页按钮", {}, 4, {"1650", "180", "3"}},
      {"下一页按钮", {kLast}, 4, {"1650", "180", "3"}},
      {"上一页按钮", {}, 3, {"1500", "170", "3"}},
  };
  Run([&] {
    using namespace main_window;
    ChooseDungeon();
    h.EditCell(kMainWindow, "数据表格", 2, 1, "7");
    for (const Step& s : steps) {
      SCOPED_TRACE(s.button);
      EXPECT_THAT(Click(s.button, s.messages.size()), ::testing::ElementsAreArray(s.messages));
      EXPECT_EQ(g_currentLevel, s.level);
      EXPECT_EQ(Text(页数编辑框), std::to_string(s.level));
      EXPECT_THAT(Column(数据表格), ::testing::ElementsAreArray(s.shown));
      EXPECT_THAT(Column(数据表格, 1), ElementsAre("", "7", ""));  // the input stays
    }
  });
}

TEST_P(PagingTest, JumpGoesToTheTypedLevelWithinTheTable) {
  struct Case {
    std::string typed;  // GBK
    std::string edit;   // what the edit holds after the clamp, UTF-8
    Strings messages;
    int level;
  };
  const std::vector<Case> cases = {
      {"3", "3", {}, 3},
      {"25", "4", {}, 4},  // clamped to the level count at once
      {"0", "0", {kOutOfRange}, 4},
      {"-2", "-2", {kOutOfRange}, 4},
      {"abc", "abc", {kOutOfRange}, 4},
      {Gbk("２"), "２", {}, 2},  // full-width digits read as digits
      {" 1x", " 1x", {}, 1},
  };
  Run([&] {
    using namespace main_window;
    ChooseDungeon();
    for (const Case& c : cases) {
      SCOPED_TRACE(c.edit);
      h.Type(kMainWindow, "页数编辑框", c.typed);
      EXPECT_EQ(Text(页数编辑框), c.edit);
      EXPECT_THAT(Click("跳转按钮", c.messages.size()), ::testing::ElementsAreArray(c.messages));
      EXPECT_EQ(g_currentLevel, c.level);
    }
    // A typed level takes effect only through 跳转: ">" steps from the shown one.
    h.Type(kMainWindow, "页数编辑框", "4");
    Click("下一页按钮");
    EXPECT_EQ(g_currentLevel, 2);
    EXPECT_EQ(Text(页数编辑框), "2");
    EXPECT_THAT(Column(数据表格), ElementsAre("1350", "160", "2"));
  });
}

TEST_P(PagingTest, TheRangeEditsAreClampedToTheLevelCount) {
  Run([&] {
    using namespace main_window;
    // Without a level table any number above 0 becomes "1".
    for (const char* edit : {"最低编辑框", "最高编辑框", "页数编辑框"}) {
      h.Type(kMainWindow, edit, "5");
      EXPECT_EQ(fw::Get<fw::Edit>(kMainWindow, edit).Text(), "1") << edit;
    }
    ChooseDungeon();
    EXPECT_EQ(Text(最高编辑框), "4");
    for (const char* edit : {"最低编辑框", "最高编辑框"}) {
      h.Type(kMainWindow, edit, "99");
      EXPECT_EQ(fw::Get<fw::Edit>(kMainWindow, edit).Text(), "4") << edit;
      h.Type(kMainWindow, edit, "3");
      EXPECT_EQ(fw::Get<fw::Edit>(kMainWindow, edit).Text(), "3") << edit;
    }
  });
}

TEST_P(PagingTest, WithoutACompleteLevelNothingMoves) {
  struct Case {
    const char* stem;
    Strings prev, next, jump;
  };
  const std::vector<Case> cases = {
      {"static_one_block", {kNoTable}, {kNoTable}, {kNoTable}},
      {"value_count_zero", {kNoTable}, {kNoTable}, {kNoTable}},
      // Values but no complete level: ">" stops at once.
      {"value_count_absurd", {kFirst}, {kLast}, {kOutOfRange}},
  };
  Run([&] {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.stem);
      const bool hasLevels = std::string(c.stem) != "static_one_block";
      PasteAndRead(Fixture(c.stem, GetParam()), hasLevels ? 0 : 1);
      if (hasLevels) Click("通用单选框");
      const int level = g_currentLevel;
      EXPECT_THAT(Click("上一页按钮", c.prev.size()), ::testing::ElementsAreArray(c.prev));
      EXPECT_THAT(Click("下一页按钮", c.next.size()), ::testing::ElementsAreArray(c.next));
      EXPECT_THAT(Click("跳转按钮", c.jump.size()), ::testing::ElementsAreArray(c.jump));
      EXPECT_EQ(g_currentLevel, level);
      Click("读取按钮");
    }
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, PagingTest, ::testing::Values("SP", "PT"), test_names::Text());

}  // namespace
}  // namespace read_test
