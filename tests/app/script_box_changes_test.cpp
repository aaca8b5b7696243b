// What a change of the script box's text brings with it: a pick, a drop or
// closing the editor asks before it discards changes made in the editor
// that were neither saved nor copied; a class choice offered for the script
// that was read goes once the text changes; characters GBK cannot hold
// that the user types or pastes are warned of, once for each such edit.
#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/units.h"
#include "platform/codepage.h"
#include "platform/gbk.h"
#include "skill_list_session.h"
#include "tests/test_names.h"

namespace app_test {
namespace {

using namespace app;
using platform::Gbk;
using read_test::Fixture;
using read_test::Text;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

constexpr const char* kQuestion = "技能数据的修改尚未保存，确定放弃修改吗？";

// A skill folder with two skills of 女格斗 (item 1: a script with level
// data, static data and mastery levels; item 2: a short one) and a file to
// drop (the same script as item 1).
class ScriptBoxChanges : public SkillListSession {
 public:
  using SkillListSession::folder;
  using UserHands::Click;
  using UserHands::Drop;
  using UserHands::h;
  using UserHands::Paste;

  ScriptBoxChanges() : keys_(NamedKeys(2)) {
    folder.Write("skill/fighter/a.skl", platform::GbkToUtf8(Fixture("both_copies", "PT")));
    folder.Write("skill/fighter/b.skl", PtSkillFile(keys_[1].first));
    folder.Write("dropped.skl", platform::GbkToUtf8(Fixture("both_copies", "PT")));
  }

  // Opens and loads the list, showing the tab of 女格斗组合框.
  void OpenLoaded() {
    ASSERT_TRUE(OpenList());
    Load();
    ASSERT_TRUE(h.ChooseTab(kSkillListWindow, "选择夹女", 1));
  }
  // Picks item `k` of 女格斗组合框, answering `expectedPrompts` with OK.
  std::vector<std::string> Pick(int k, std::size_t expectedPrompts = 0) {
    return Prompted(expectedPrompts,
                    [&] { EXPECT_TRUE(h.Choose(kSkillListWindow, "女格斗组合框", k)); });
  }
  // Runs `action` with the next prompt answered `answer` (1 OK, 0 Cancel);
  // the messages shown meanwhile.
  std::vector<std::string> Answering(int answer, const std::function<void()>& action) {
    const std::size_t before = prompts.Shown().size();
    prompts.Answer({answer});
    action();
    EXPECT_EQ(prompts.Unused(), 0) << "no prompt";
    const std::vector<std::string> all = prompts.Messages();
    return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
  }
  // The user types into the box: one character more at its end.
  void TypeIn() { ASSERT_TRUE(Paste(main_window::编辑框1->Text() + "x")); }
  void ReadOrRelease() { EXPECT_THAT(Click("读取按钮"), IsEmpty()); }
  // A bulk modification of the read skill: 5 added to its first level
  // value, confirmed.
  void Modify() {
    Click("刷图单选框");
    Click("增加单选框");
    EXPECT_TRUE(h.EditCell(kMainWindow, "数据表格", 1, 1, "5"));
    Click("保存按钮", 1);  // the confirmation
  }
  // A save of the parameter window: 最大等级 raised to the highest mastery
  // level.
  void SaveParams() {
    const fw::Grid& grid = *param_window::参数表格;
    int row = 1;
    while (row < grid.RowCount() && grid.CellText(row, 0) != Gbk("最大等级")) ++row;
    EXPECT_TRUE(h.EditCell(kSkillParamWindow, "参数表格", row, 1, "45"));
    EXPECT_THAT(Prompted(1, [&] { EXPECT_TRUE(h.Click(kSkillParamWindow, "保存按钮")); }),
                ElementsAre("技能参数保存成功！"));
  }
  std::string ItemText(int k) const {
    return k == 1 ? Fixture("both_copies", "PT") : Gbk(PtSkillFile(keys_[1].first));
  }

  std::vector<std::pair<std::string, std::string>> keys_;
};

// ---- The question before work is lost ----------------------------------------

struct Before {
  const char* name;
  std::function<void(ScriptBoxChanges&)> act;  // what the user did before the pick
  bool asks;
};

void PrintTo(const Before& b, std::ostream* os) {
  *os << b.name;
}

const std::vector<Before> kBefore = {
    {"the start hint", [](ScriptBoxChanges&) {}, false},
    {"a pick", [](ScriptBoxChanges& s) { s.Pick(1); }, false},
    {"a pick read and released",
     [](ScriptBoxChanges& s) {
       s.Pick(1);
       s.ReadOrRelease();
       s.ReadOrRelease();
     },
     false},
    {"a drop, read at once and released",
     [](ScriptBoxChanges& s) {
       EXPECT_THAT(s.Drop({s.folder.Gbk("dropped.skl")}, 0), IsEmpty());
       s.ReadOrRelease();
     },
     false},
    {"a pick typed in",
     [](ScriptBoxChanges& s) {
       s.Pick(1);
       s.TypeIn();
     },
     true},
    {"a pick typed in and taken back",
     [](ScriptBoxChanges& s) {
       s.Pick(1);
       s.TypeIn();
       ASSERT_TRUE(s.Paste(Fixture("both_copies", "PT")));
     },
     false},
    // The user's own script, found in no file the editor knows of.
    {"a script pasted into the emptied box",
     [](ScriptBoxChanges& s) {
       s.Click("清空按钮");
       ASSERT_TRUE(s.Paste(Fixture("both_copies", "PT")));
     },
     true},
    {"a modification, released",
     [](ScriptBoxChanges& s) {
       s.Pick(1);
       s.ReadOrRelease();
       s.Modify();
       s.ReadOrRelease();
     },
     true},
    {"a save of the parameter window, released",
     [](ScriptBoxChanges& s) {
       s.Pick(1);
       s.ReadOrRelease();
       s.SaveParams();
       s.ReadOrRelease();
     },
     true},
    {"a modification saved to its file",
     [](ScriptBoxChanges& s) {
       s.Pick(1);
       s.ReadOrRelease();
       s.Modify();
       s.ReadOrRelease();
       EXPECT_THAT(s.Click("保存文件按钮"), IsEmpty());
     },
     false},
    {"a modification copied",
     [](ScriptBoxChanges& s) {
       s.Pick(1);
       s.ReadOrRelease();
       s.Modify();
       s.ReadOrRelease();
       EXPECT_THAT(s.Click("复制按钮", 1), ElementsAre("技能数据已复制！"));
     },
     false},
    {"a pick typed in and cleared",
     [](ScriptBoxChanges& s) {
       s.Pick(1);
       s.TypeIn();
       s.Click("清空按钮");
     },
     false},
};

class PickAfter : public ScriptBoxChanges, public ::testing::WithParamInterface<Before> {};

TEST_P(PickAfter, AsksOnlyWhereThePickWouldLoseWork) {
  const Before& b = GetParam();
  Run([&] {
    OpenLoaded();
    b.act(*this);
    if (b.asks) {
      ASSERT_THAT(Pick(2, 1), ElementsAre(kQuestion));
      const app::testing::ShownPrompt& question = prompts.Shown().back();
      EXPECT_THAT(question.lines, ElementsAre("", kQuestion, ""));
      EXPECT_EQ(question.buttonMode, 2);
    } else {
      EXPECT_THAT(Pick(2), IsEmpty());
    }
    EXPECT_EQ(main_window::编辑框1->Text(), ItemText(2));
    EXPECT_EQ(main_window::路径编辑框->Text(), folder.Gbk("skill/fighter/b.skl"));
  });
}

INSTANTIATE_TEST_SUITE_P(Cases, PickAfter, ::testing::ValuesIn(kBefore),
                         [](const ::testing::TestParamInfo<Before>& p) {
                           return test_names::Escaped(p.param.name);
                         });

// ---- Each road, answered Cancel, then OK ---------------------------------------

struct Road {
  const char* name;
  std::function<void(ScriptBoxChanges&)> take;
  // What OK leads to (not reached when the road ends the program).
  std::function<void(ScriptBoxChanges&)> wentOn;
  bool ends;
};

void PrintTo(const Road& r, std::ostream* os) {
  *os << r.name;
}

void OpenedItem2(ScriptBoxChanges& s) {
  EXPECT_EQ(main_window::编辑框1->Text(), s.ItemText(2));
  EXPECT_EQ(skill_list_window::女格斗组合框->Current(), 2);
}

const std::vector<Road> kRoads = {
    {"PickByHand",
     [](ScriptBoxChanges& s) { EXPECT_TRUE(s.h.Choose(kSkillListWindow, "女格斗组合框", 2)); },
     OpenedItem2, false},
    {"Search", [](ScriptBoxChanges& s) { EXPECT_TRUE(s.h.Click(kSkillListWindow, "搜索按钮女")); },
     [](ScriptBoxChanges& s) {
       OpenedItem2(s);
       EXPECT_EQ(g_femaleSearchResume, 2);
     },
     false},
    {"Drop",
     [](ScriptBoxChanges& s) {
       EXPECT_TRUE(s.h.Drop(kMainWindow, "编辑框1", {s.folder.Gbk("dropped.skl")}));
     },
     [](ScriptBoxChanges& s) {
       EXPECT_EQ(Text(main_window::读取按钮), "释放数据");  // read at once
       EXPECT_EQ(main_window::路径编辑框->Text(), s.folder.Gbk("dropped.skl"));
     },
     false},
    {"CloseButton", [](ScriptBoxChanges& s) { EXPECT_TRUE(s.h.Click(kMainWindow, "关闭按钮")); },
     nullptr, true},
    {"WindowManagersClose", [](ScriptBoxChanges& s) { EXPECT_TRUE(s.h.Close(kMainWindow)); },
     nullptr, true},
};

class RoadOverChanges : public ScriptBoxChanges, public ::testing::WithParamInterface<Road> {};

TEST_P(RoadOverChanges, CancelChangesNothingAndOkGoesOn) {
  const Road& r = GetParam();
  int answered = 0;  // questions answered with the program still running
  Run([&] {
    using namespace main_window;
    OpenLoaded();
    // The search finds item 2 first.
    ASSERT_TRUE(h.Type(kSkillListWindow, "搜索框女", Gbk(keys_[1].second)));
    Pick(1);
    TypeIn();
    const std::string typed = 编辑框1->Text();

    EXPECT_THAT(Answering(0, [&] { r.take(*this); }), ElementsAre(kQuestion));
    answered = 1;
    EXPECT_EQ(编辑框1->Text(), typed);
    EXPECT_EQ(路径编辑框->Text(), folder.Gbk("skill/fighter/a.skl"));
    EXPECT_EQ(g_scriptFilePath, folder.Native("skill/fighter/a.skl"));
    EXPECT_FALSE(保存文件按钮->Disabled());
    EXPECT_EQ(Text(读取按钮), "读取数据");
    EXPECT_EQ(g_droppedFilePath, "");
    EXPECT_EQ(skill_list_window::女格斗组合框->Current(), 1);
    EXPECT_EQ(g_femaleSearchResume, 0);
    EXPECT_TRUE(window->IsLoaded());

    EXPECT_THAT(Answering(1, [&] { r.take(*this); }), ElementsAre(kQuestion));
    answered = 2;
    r.wentOn(*this);
  });
  EXPECT_EQ(answered, r.ends ? 1 : 2);
  EXPECT_EQ(h.ExitRoutineRuns(), 1);
  EXPECT_EQ(prompts.Shown().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Roads, RoadOverChanges, ::testing::ValuesIn(kRoads), test_names::Named());

// ---- The class choice goes with the text it was offered for --------------------

struct Change {
  const char* name;
  std::function<void(ScriptBoxChanges&)> make;
  bool withdraws;
};

void PrintTo(const Change& c, std::ostream* os) {
  *os << c.name;
}

const std::vector<Change> kChanges = {
    {"Typed", [](ScriptBoxChanges& s) { s.TypeIn(); }, true},
    {"Pasted", [](ScriptBoxChanges& s) { ASSERT_TRUE(s.Paste(Fixture("static_one_block", "PT"))); },
     true},
    {"Picked", [](ScriptBoxChanges& s) { s.Pick(2, 1); }, true},  // over the pasted script
    {"Dropped",
     [](ScriptBoxChanges& s) {
       EXPECT_THAT(s.Drop({s.folder.Gbk("dropped.skl")}, 1), ElementsAre(kQuestion));
       s.ReadOrRelease();
     },
     true},
    {"Cleared", [](ScriptBoxChanges& s) { s.Click("清空按钮"); }, true},
    {"TheSameTextTypedAgain",
     [](ScriptBoxChanges& s) { ASSERT_TRUE(s.Paste(Fixture("mastery_choice_only", "PT"))); },
     false},
};

class ClassChoiceAfter : public ScriptBoxChanges, public ::testing::WithParamInterface<Change> {};

// The choice offered after a read that held nothing names a class for the
// script that was read; a class picked for another text would lock the box
// and show that text's mastery levels under the old skill's name.
TEST_P(ClassChoiceAfter, ATextChangeTakesTheChoiceBack) {
  const Change& c = GetParam();
  Run([&] {
    using namespace mastery_window;
    OpenLoaded();
    PasteAndRead(Fixture("mastery_choice_only", "PT"), 2);
    ASSERT_TRUE(全职业组合框->Visible());

    c.make(*this);
    if (!c.withdraws) {
      EXPECT_TRUE(全职业组合框->Visible());
      EXPECT_TRUE(g_classChoicePending);
      return;
    }
    EXPECT_FALSE(全职业组合框->Visible());
    EXPECT_FALSE(g_classChoicePending);
    EXPECT_FALSE(h.Choose(kMasteryLevelWindow, "全职业组合框", 1));
    EXPECT_EQ(精通表格->RowCount(), 1);
    EXPECT_EQ(Text(main_window::读取按钮), "读取数据");
  });
}

INSTANTIATE_TEST_SUITE_P(Changes, ClassChoiceAfter, ::testing::ValuesIn(kChanges),
                         test_names::Named());

// ---- Characters GBK cannot hold, typed or pasted --------------------------------

TEST_F(ScriptBoxChanges, CharactersGbkCannotHoldAreWarnedOfOnceForEachEdit) {
  struct Case {
    const char* name;
    std::u16string typed;  // the whole new text, as the screen holds it
    const char* stored;    // UTF-8
    bool warns;
  };
  const std::vector<Case> cases = {
      {"Chinese and ASCII", u"[name]\r\n技能", "[name]\r\n技能", false},
      {"Hangul pasted", u"[name]\r\n스킬", "[name]\r\n??", true},
      {"an emoji from an input method", u"[name]\r\n技能😀", "[name]\r\n技能?", true},
      {"the same again, another edit", u"[name]\r\n技能😀", "[name]\r\n技能?", true},
  };
  Run([&] {
    for (const Case& c : cases) {
      const std::vector<std::string> shown = Prompted(c.warns ? 1 : 0, [&] {
        EXPECT_TRUE(h.TypeUnicode(kMainWindow, "编辑框1", c.typed));
        h.Advance(0);  // the warning comes once the edit is done
      });
      EXPECT_EQ(Utf8(main_window::编辑框1->Text()), c.stored) << c.name;
      if (!c.warns) {
        EXPECT_THAT(shown, IsEmpty()) << c.name;
        continue;
      }
      ASSERT_THAT(shown, SizeIs(1)) << c.name;
      EXPECT_THAT(prompts.Shown().back().lines,
                  ElementsAre("", "粘贴或输入的文字中有GBK无法表示的字符，",
                              "已显示为?，保存文件时它们会被?替换！"))
          << c.name;
      EXPECT_EQ(prompts.Shown().back().buttonMode, 1) << c.name;
    }
  });
}

}  // namespace
}  // namespace app_test
