// The event rules: which program writes and user actions raise which
// events, and which user actions are refused.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/input.h"
#include "test_forms.h"

namespace fwtest {
namespace {

namespace tw = test_window;

struct EventCase {
  const char* name;
  std::function<void(fw::Headless&)> act;
  std::vector<std::string> events;
};

// Each case runs on a freshly loaded TestWindow.
const std::vector<EventCase>& EventCases() {
  static const std::vector<EventCase> cases = {
      // Edit boxes.
      {"EditProgramWrite", [](fw::Headless&) { tw::edit->SetText("abc"); }, {"TextChanged 编辑框"}},
      {"EditIdenticalWriteCountsToo",
       [](fw::Headless&) { tw::edit->SetText(Gbk("初始")); },
       {"TextChanged 编辑框"}},
      {"EditWriteWhileDisabled",
       [](fw::Headless&) {
         tw::edit->Disable();
         tw::edit->SetText("x");
       },
       {"TextChanged 编辑框"}},
      {"EditUserTyping",
       [](fw::Headless& h) { EXPECT_TRUE(h.Type("TestWindow", "编辑框", "t")); },
       {"TextChanged 编辑框"}},
      {"EditWriteInsideOwnHandlerNotReported",
       [](fw::Headless&) {
         Hooks()["TextChanged 编辑框"] = [] { tw::edit->SetText("inner"); };
         tw::edit->SetText("outer");
         EXPECT_EQ(tw::edit->Text(), "inner");
       },
       {"TextChanged 编辑框"}},
      {"EditWriteToAnotherEditInsideHandlerIsReported",
       [](fw::Headless&) {
         Hooks()["TextChanged 编辑框"] = [] { tw::readOnly->SetText("other"); };
         tw::edit->SetText("outer");
       },
       {"TextChanged 编辑框", "TextChanged 只读框"}},
      {"EditWriteInsideDelayOfOwnHandlerNotReportedLater",
       [](fw::Headless& h) {
         Hooks()["TextChanged 编辑框"] = [] { fw::DelayWithMessages(50); };
         h.Then([] { tw::edit->SetText("during"); }, 10);
         tw::edit->SetText("outer");
         fw::DelayWithMessages(100);
         EXPECT_EQ(tw::edit->Text(), "during");
       },
       {"TextChanged 编辑框"}},
      // What GBK cannot hold of the user's text becomes "?", and the
      // handler is told; text GBK holds, and program writes, tell nothing.
      {"EditUserTypingTellsOfCharactersGbkCannotHold",
       [](fw::Headless& h) {
         Hooks()["TextChanged 编辑框"] = [] {
           Events().push_back(fw::CurrentEventArgs().textReplaced ? "replaced" : "kept");
         };
         EXPECT_TRUE(h.TypeUnicode("TestWindow", "编辑框", u"技a"));
         EXPECT_TRUE(h.TypeUnicode("TestWindow", "编辑框", u"a스😀"));
         EXPECT_EQ(tw::edit->Text(), "a??");
         tw::edit->SetText("?");
         EXPECT_TRUE(fw::input::ReplaceText(*tw::edit, 1, 0, "?", true));
         EXPECT_EQ(tw::edit->Text(), "??");
       },
       {"TextChanged 编辑框", "kept", "TextChanged 编辑框", "replaced", "TextChanged 编辑框",
        "kept", "TextChanged 编辑框", "replaced"}},
      {"EditReadOnlyRefusesTypingButNotProgram",
       [](fw::Headless& h) {
         EXPECT_FALSE(h.Type("TestWindow", "只读框", "t"));
         tw::readOnly->SetText("p");
       },
       {"TextChanged 只读框"}},
      {"EditMouseDownBothButtons",
       [](fw::Headless& h) {
         Hooks()["LeftButtonDown 编辑框"] = [] {
           EXPECT_EQ(fw::CurrentEventArgs().x, 5);
           EXPECT_EQ(fw::CurrentEventArgs().y, 7);
         };
         EXPECT_TRUE(h.MouseDown("TestWindow", "编辑框", fw::MouseButton::Left, 5, 7));
         EXPECT_TRUE(h.MouseDown("TestWindow", "编辑框", fw::MouseButton::Right));
       },
       {"LeftButtonDown 编辑框", "RightButtonDown 编辑框"}},
      {"EditMouseDownRefusedWhenDisabled",
       [](fw::Headless& h) {
         tw::edit->Disable();
         EXPECT_FALSE(h.MouseDown("TestWindow", "编辑框", fw::MouseButton::Left));
       },
       {}},
      // Radios.
      {"RadioProgramWritesRaiseNothingAndTouchOneRadio",
       [](fw::Headless&) {
         tw::radio1->SetChecked(true);
         tw::radio2->SetChecked(true);
         EXPECT_TRUE(tw::radio1->Checked());
         tw::radio1->SetChecked(false);
         tw::radio2->SetChecked(false);
         EXPECT_FALSE(tw::radio1->Checked() || tw::radio2->Checked());
       },
       {}},
      {"RadioUserClickChecksAndUnchecksItsGroupOnly",
       [](fw::Headless& h) {
         tw::radio1->SetChecked(true);
         tw::radio3->SetChecked(true);
         EXPECT_TRUE(h.Click("TestWindow", "单选2"));
         EXPECT_FALSE(tw::radio1->Checked());
         EXPECT_TRUE(tw::radio2->Checked());
         EXPECT_TRUE(tw::radio3->Checked());  // another parent, another group
       },
       {"Clicked 单选2"}},
      {"RadioClickOnCheckedRadioRaisesAgain",
       [](fw::Headless& h) {
         EXPECT_TRUE(h.Click("TestWindow", "单选1"));
         EXPECT_TRUE(h.Click("TestWindow", "单选1"));
       },
       {"Clicked 单选1", "Clicked 单选1"}},
      {"RadioInDisabledGroupRefused",
       [](fw::Headless& h) {
         tw::group->Disable();
         EXPECT_FALSE(h.Click("TestWindow", "单选1"));
         EXPECT_FALSE(tw::radio1->Checked());
       },
       {}},
      // Combo box.
      {"ComboProgramSelectionRaisesNothing",
       [](fw::Headless&) {
         tw::combo->AddItem("a");
         tw::combo->AddItem("b");
         tw::combo->SetCurrent(1);
         EXPECT_EQ(tw::combo->SelectPrefix("A"), 0);
       },
       {}},
      {"ComboUserChoiceTellsTheItemCurrentBefore",
       [](fw::Headless& h) {
         tw::combo->AddItem("a");
         tw::combo->AddItem("b");
         Hooks()["SelectionChanged 组合框"] = [] {
           Events().push_back(std::to_string(fw::CurrentEventArgs().previousItem) + " to " +
                              std::to_string(tw::combo->Current()));
         };
         EXPECT_TRUE(h.Choose("TestWindow", "组合框", 1));
         EXPECT_TRUE(h.Choose("TestWindow", "组合框", 0));
       },
       {"SelectionChanged 组合框", "-1 to 1", "SelectionChanged 组合框", "1 to 0"}},
      {"ComboUserChoiceRaisesAlsoForCurrentItem",
       [](fw::Headless& h) {
         tw::combo->AddItem("a");
         EXPECT_TRUE(h.Choose("TestWindow", "组合框", 0));
         EXPECT_TRUE(h.Choose("TestWindow", "组合框", 0));
         EXPECT_FALSE(h.Choose("TestWindow", "组合框", 1));
       },
       {"SelectionChanged 组合框", "SelectionChanged 组合框"}},
      // Tabs.
      {"TabsProgramSelectionRaisesNothing", [](fw::Headless&) { tw::tabs->SetCurrent(1); }, {}},
      {"TabsUserChoiceRaisesOnlyOnChange",
       [](fw::Headless& h) {
         EXPECT_TRUE(h.ChooseTab("TestWindow", "选择夹", 0));
         EXPECT_TRUE(h.ChooseTab("TestWindow", "选择夹", 1));
         EXPECT_FALSE(h.ChooseTab("TestWindow", "选择夹", 2));
       },
       {"TabChanged 选择夹"}},
      {"UnitOnHiddenTabPageRefused",
       [](fw::Headless& h) {
         EXPECT_FALSE(h.Click("TestWindow", "页按钮"));
         tw::tabs->SetCurrent(1);
         EXPECT_TRUE(h.Click("TestWindow", "页按钮"));
       },
       {"Clicked 页按钮"}},
      // Grid.
      {"GridProgramWritesRaiseNothing",
       [](fw::Headless&) {
         const int row = tw::grid->AppendRow("1");
         tw::grid->SetCellText(row, 1, "2");
         tw::grid->SetReadOnly(fw::CellRange::Cell(row, 0), true);
         tw::grid->SetBackColour(fw::CellRange::Cell(row, 0), fw::Rgb(1, 2, 3));
         tw::grid->DeleteRow(row);
       },
       {}},
      {"GridUserClickAndEdit",
       [](fw::Headless& h) {
         tw::grid->AppendRow("1");
         Hooks()["CellEvent 表格"] = [] {
           const fw::EventArgs& a = fw::CurrentEventArgs();
           Events().push_back(std::to_string(a.row) + "," + std::to_string(a.col) +
                              (a.cellAction == fw::CellAction::Edited ? " edited" : " clicked"));
         };
         EXPECT_TRUE(h.ClickCell("TestWindow", "表格", 1, 0));
         EXPECT_TRUE(h.EditCell("TestWindow", "表格", 1, 1, "9"));
         EXPECT_EQ(tw::grid->CellText(1, 1), "9");
       },
       {"CellEvent 表格", "1,0 clicked", "CellEvent 表格", "1,1 edited"}},
      {"GridEditRefusedForHeaderAndReadOnlyCells",
       [](fw::Headless& h) {
         tw::grid->AppendRow("1");
         tw::grid->SetReadOnly(fw::CellRange::Cell(1, 1), true);
         EXPECT_FALSE(h.EditCell("TestWindow", "表格", 0, 0, "x"));
         EXPECT_FALSE(h.EditCell("TestWindow", "表格", 1, 1, "x"));
         EXPECT_FALSE(h.ClickCell("TestWindow", "表格", 2, 0));
         EXPECT_EQ(tw::grid->CellText(1, 1), "");
       },
       {}},
      // Rich edit.
      {"RichEditClickMovesCaretBeforeLeftButtonUp",
       [](fw::Headless& h) {
         Hooks()["LeftButtonUp 富文本"] = [] {
           Events().push_back("caret " + std::to_string(tw::rich->SelStart()));
         };
         EXPECT_TRUE(h.ClickRichEdit("TestWindow", "富文本", 3));
         EXPECT_TRUE(h.ClickRichEdit("TestWindow", "富文本", 99));
       },
       {"LeftButtonUp 富文本", "caret 3", "LeftButtonUp 富文本", "caret 5"}},
      // Buttons, labels, blocking.
      {"ClickKinds",
       [](fw::Headless& h) {
         EXPECT_TRUE(h.Click("TestWindow", "按钮"));
         EXPECT_TRUE(h.Click("TestWindow", "标签"));
         EXPECT_TRUE(h.Click("TestWindow", "超级按钮"));
         EXPECT_FALSE(h.Click("TestWindow", "编辑框"));
         EXPECT_FALSE(h.Click("TestWindow", "没有"));
       },
       {"Clicked 按钮", "Clicked 标签", "Clicked 超级按钮"}},
      {"DisabledOrHiddenButtonRefused",
       [](fw::Headless& h) {
         tw::button->Disable();
         EXPECT_FALSE(h.Click("TestWindow", "按钮"));
         tw::button->Enable();
         tw::button->SetVisible(false);
         EXPECT_FALSE(h.Click("TestWindow", "按钮"));
         tw::window->SetVisible(true);
         tw::button->SetVisible(true);
         tw::window->Minimise();
         EXPECT_FALSE(h.Click("TestWindow", "按钮"));
       },
       {}},
      {"OwnerBlockedByModalWindowWithOwner",
       [](fw::Headless& h) {
         h.OnNextModal("ModalWindow", [&h] {
           EXPECT_TRUE(tw::window->Blocked());
           // The window that answers for the blocked one.
           EXPECT_EQ(tw::window->BlockedBy(), &fw::GetWindow("ModalWindow"));
           EXPECT_EQ(fw::GetWindow("ModalWindow").BlockedBy(), nullptr);
           EXPECT_FALSE(h.Click("TestWindow", "按钮"));
           EXPECT_FALSE(h.Close("TestWindow"));
           fw::GetWindow("ModalWindow").Destroy();
         });
         fw::GetWindow("ModalWindow").Load(ModalLoad(&tw::window.get()));
         EXPECT_FALSE(tw::window->Blocked());
         EXPECT_EQ(tw::window->BlockedBy(), nullptr);
         EXPECT_TRUE(h.Click("TestWindow", "按钮"));
       },
       {"Created ModalWindow", "Destroying ModalWindow", "Clicked 按钮"}},
      {"ModalWithoutOwnerBlocksNothing",
       [](fw::Headless& h) {
         h.OnNextModal("ModalWindow", [&h] {
           EXPECT_TRUE(h.Click("TestWindow", "按钮"));
           fw::GetWindow("ModalWindow").Destroy();
         });
         fw::GetWindow("ModalWindow").Load(ModalLoad());
       },
       {"Created ModalWindow", "Clicked 按钮", "Destroying ModalWindow"}},
      {"ModalWithOwnerThatIsNotLoadedBlocksNothing",
       [](fw::Headless& h) {
         h.OnNextModal("ModalWindow", [&h] {
           EXPECT_EQ(fw::GetWindow("ModalWindow").Owner(), nullptr);
           EXPECT_TRUE(h.Click("TestWindow", "按钮"));
           fw::GetWindow("ModalWindow").Destroy();
         });
         fw::GetWindow("ModalWindow").Load(ModalLoad(&fw::GetWindow("ChildWindow")));
       },
       {"Created ModalWindow", "Clicked 按钮", "Destroying ModalWindow"}},
      // Drops.
      {"DropReachesDisabledTargetWithPathsJoined",
       [](fw::Headless& h) {
         EXPECT_FALSE(h.Drop("TestWindow", "编辑框", {"a"}));  // not registered yet
         EXPECT_TRUE(tw::drop->Register(*tw::edit));
         EXPECT_FALSE(tw::drop->Register(*tw::button));
         tw::edit->Disable();
         EXPECT_TRUE(h.Drop("TestWindow", "编辑框", {"/a.skl"}));
         EXPECT_TRUE(h.Drop("TestWindow", "编辑框", {"/a", "/b"}));
         EXPECT_FALSE(h.Drop("TestWindow", "编辑框", {}));
         EXPECT_FALSE(h.Drop("TestWindow", "按钮", {"/a"}));
         tw::edit->SetVisible(false);
         EXPECT_FALSE(h.Drop("TestWindow", "编辑框", {"/a"}));
         EXPECT_EQ(tw::edit->Text(), Gbk("初始"));
       },
       {"FilesDropped /a.skl", "FilesDropped /a\r\n/b\r\n"}},
      // Window events.
      {"WindowMovesRaiseMovedOnlyWhenPositionChanges",
       [](fw::Headless& h) {
         tw::window->SetLeft(50);
         tw::window->SetWidth(500);
         tw::window->SetGeometry({50, 20, 500, 300});
         EXPECT_TRUE(h.Drag("TestWindow", 60, 70));
         EXPECT_EQ(tw::window->Geometry(), (fw::Rect{60, 70, 500, 300}));
       },
       {"Moved", "Moved"}},
      {"MovedHandlerMovingItsWindowIsNotReentered",
       [](fw::Headless&) {
         Hooks()["Moved"] = [] { tw::window->SetLeft(tw::window->Left() + 1); };
         tw::window->SetLeft(100);
         EXPECT_EQ(tw::window->Left(), 101);
       },
       {"Moved"}},
      {"SystemCloseRaisesCloseRequestedAndDestroysNothing",
       [](fw::Headless& h) {
         EXPECT_TRUE(h.Close("TestWindow"));
         EXPECT_TRUE(tw::window->IsLoaded());
       },
       {"CloseRequested"}},
      {"SystemCloseWithoutBindingIsRefused",
       [](fw::Headless& h) {
         fw::GetWindow("ChildWindow").Load();
         EXPECT_FALSE(h.Close("ChildWindow"));
         EXPECT_TRUE(fw::GetWindow("ChildWindow").IsLoaded());
       },
       {}},
      {"DestroyRaisesDestroyingWithUnitsReadable",
       [](fw::Headless&) {
         Hooks()["Destroying"] = [] { Events().push_back(tw::button->Text()); };
         tw::window->Destroy();
         tw::window->Destroy();
       },
       {"Destroying", Gbk("按钮")}},
      {"LoadRunsCreatedBeforeReturningAndInitialValuesRaiseNothing",
       [](fw::Headless&) {
         tw::window->Destroy();
         Hooks()["Created"] = [] { Events().push_back(tw::edit->Text()); };
         EXPECT_TRUE(tw::window->Load());
         Events().push_back("returned");
         EXPECT_FALSE(tw::window->Load());  // one instance at a time
       },
       {"Destroying", "Created", Gbk("初始"), "returned"}},
      {"NotLoadedUnitsIgnoreWritesReadEmptyRaiseNothing",
       [](fw::Headless& h) {
         tw::window->Destroy();
         Events().clear();
         tw::edit->SetText("x");
         tw::combo->AddItem("a");
         tw::grid->AppendRow("r");
         EXPECT_EQ(tw::edit->Text(), "");
         EXPECT_EQ(tw::combo->Count(), 0);
         EXPECT_EQ(tw::grid->RowCount(), 0);
         EXPECT_EQ(tw::tabs->Current(), -1);
         EXPECT_EQ(tw::rich->Text(), "");
         EXPECT_EQ(tw::window->Width(), 0);
         EXPECT_FALSE(h.Click("TestWindow", "按钮"));
         EXPECT_FALSE(h.Close("TestWindow"));
       },
       {}},
      {"DestroyStopsTimers",
       [](fw::Headless&) {
         tw::timer->SetPeriod(10);
         fw::DelayWithMessages(25);
         tw::window->Destroy();
         fw::DelayWithMessages(100);
         EXPECT_TRUE(tw::window->Load());
         fw::DelayWithMessages(100);  // the form's period is 0
       },
       {"Tick 时钟", "Tick 时钟", "Destroying", "Created"}},
  };
  return cases;
}

class EventRules : public ::testing::TestWithParam<EventCase> {};

TEST_P(EventRules, RaiseExactlyTheseEvents) {
  Env env;
  const EventCase& c = GetParam();
  env.Run([&] {
    c.act(env.h);
    return 0;
  });
  EXPECT_EQ(Events(), c.events);
}

INSTANTIATE_TEST_SUITE_P(Table, EventRules, ::testing::ValuesIn(EventCases()),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(EventArgs, DefaultOutsideHandlersAndRestoredAfterNesting) {
  Env env;
  EXPECT_EQ(fw::CurrentEventArgs().unit, nullptr);
  Hooks()["Clicked 按钮"] = [&] {
    EXPECT_EQ(fw::CurrentEventArgs().unit, &tw::button.get());
    tw::grid->AppendRow("1");
    env.h.ClickCell("TestWindow", "表格", 1, 1);
    EXPECT_EQ(fw::CurrentEventArgs().event, fw::Event::Clicked);
    EXPECT_EQ(fw::CurrentEventArgs().row, -1);
  };
  Hooks()["CellEvent 表格"] = [] { EXPECT_EQ(fw::CurrentEventArgs().col, 1); };
  EXPECT_TRUE(env.h.Click("TestWindow", "按钮"));
  EXPECT_EQ(fw::CurrentEventArgs().unit, nullptr);
  EXPECT_EQ(Events(), (std::vector<std::string>{"Clicked 按钮", "CellEvent 表格"}));
}

TEST(Embedding, EmbeddedWindowFollowsItsParent) {
  Env env;
  fw::Window& child = fw::GetWindow("ChildWindow");
  ASSERT_TRUE(child.Load());
  EXPECT_FALSE(tw::window->EmbedIn(tw::window.get(), 0, 0));
  ASSERT_TRUE(child.EmbedIn(tw::window.get(), 30, 40));
  EXPECT_FALSE(tw::window->EmbedIn(child, 0, 0));  // would make a cycle
  EXPECT_EQ(child.Geometry(), (fw::Rect{30, 40, 100, 80}));
  EXPECT_FALSE(child.Minimise());

  // Input to the child is refused while its parent is minimised.
  tw::window->Minimise();
  EXPECT_FALSE(env.h.Click("ChildWindow", "子按钮"));
  fw::input::SetMinimised(tw::window.get(), false);
  EXPECT_TRUE(env.h.Click("ChildWindow", "子按钮"));

  tw::window->Destroy();
  EXPECT_FALSE(child.IsLoaded());
  EXPECT_EQ(Events(),
            (std::vector<std::string>{"Clicked 子按钮", "Destroying", "Destroying ChildWindow"}));
  EXPECT_EQ(env.h.Log(), (std::vector<std::string>{"load ChildWindow", "show ChildWindow",
                                                   "embed ChildWindow in TestWindow at 30,40",
                                                   "minimise TestWindow", "restore TestWindow",
                                                   "destroy ChildWindow", "destroy TestWindow"}));
}

}  // namespace
}  // namespace fwtest
