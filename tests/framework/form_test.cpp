// Form definitions: validation, registration (GBK conversion), lookup.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_forms.h"

namespace fwtest {
namespace {

namespace tw = test_window;

void Nothing() {}
void NothingWithPaths(const std::string&) {}

struct FormCase {
  const char* name;
  std::function<void(fw::WindowDef&)> change;
  std::string problem;  // a part of the one problem expected; empty: sound
};

class FormValidation : public ::testing::TestWithParam<FormCase> {};

TEST_P(FormValidation, ReportsEachProblemOnce) {
  fw::WindowDef def = TestForm();
  GetParam().change(def);
  const std::vector<std::string> problems = fw::ValidateForm(def);
  if (GetParam().problem.empty()) {
    EXPECT_TRUE(problems.empty()) << problems.front();
  } else {
    ASSERT_EQ(problems.size(), 1u) << (problems.empty() ? "" : problems.back());
    EXPECT_NE(problems[0].find(GetParam().problem), std::string::npos) << problems[0];
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormValidation,
    ::testing::Values(
        FormCase{"TheTestFormIsSound", [](fw::WindowDef&) {}, ""},
        FormCase{"DuplicateUnit",
                 [](fw::WindowDef& d) { d.units.push_back(fw::LabelUnit("按钮", {})); },
                 "defined twice"},
        FormCase{"UnnamedUnit", [](fw::WindowDef& d) { d.units.push_back(fw::LabelUnit("", {})); },
                 "no name"},
        FormCase{"MissingParent",
                 [](fw::WindowDef& d) { d.units.push_back(fw::LabelUnit("x", {}).In("nope")); },
                 "does not exist"},
        FormCase{"ParentNotAContainer",
                 [](fw::WindowDef& d) { d.units.push_back(fw::LabelUnit("x", {}).In("按钮")); },
                 "not a group box or tab control"},
        FormCase{
            "PageOutsideTheTabs",
            [](fw::WindowDef& d) { d.units.push_back(fw::LabelUnit("x", {}).OnPage("选择夹", 2)); },
            "is not a page"},
        FormCase{"TabControlParentWithoutPage",
                 [](fw::WindowDef& d) { d.units.push_back(fw::LabelUnit("x", {}).In("选择夹")); },
                 "is not a page"},
        FormCase{"ParentCycle",
                 [](fw::WindowDef& d) {
                   d.units.push_back(fw::GroupBoxUnit("g1", {}).In("g2"));
                   d.units.push_back(fw::GroupBoxUnit("g2", {}).In("g1"));
                 },
                 "cycle"},
        FormCase{"KeysPressButtons",
                 [](fw::WindowDef& d) {
                   d.enterUnits = {"按钮", "超级按钮"};
                   d.escapeUnits = {"按钮"};
                 },
                 ""},
        FormCase{"KeyUnitMissing", [](fw::WindowDef& d) { d.enterUnits = {"nope"}; },
                 "Enter key unit \"nope\": no such unit"},
        FormCase{"KeyUnitNotAButton", [](fw::WindowDef& d) { d.escapeUnits = {"编辑框"}; },
                 "is not a button"},
        FormCase{"BindingToMissingUnit",
                 [](fw::WindowDef& d) {
                   d.bindings.push_back({"nope", fw::Event::Clicked, &Nothing});
                 },
                 "no such unit"},
        FormCase{"EventTheKindDoesNotRaise",
                 [](fw::WindowDef& d) {
                   d.bindings.push_back({"表格", fw::Event::Clicked, &Nothing});
                 },
                 "does not raise"},
        FormCase{"WindowEventOnWindowOnly",
                 [](fw::WindowDef& d) {
                   d.bindings.push_back({"", fw::Event::Tick, &Nothing});
                 },
                 "a window does not raise"},
        FormCase{"FilesDroppedNeedsPaths",
                 [](fw::WindowDef& d) {
                   for (fw::Binding& b : d.bindings) {
                     if (b.unit == "拖放") b = {"拖放", fw::Event::FilesDropped, &Nothing};
                   }
                 },
                 "taking the paths"},
        FormCase{"PlainEventWithPathsHandler",
                 [](fw::WindowDef& d) {
                   d.bindings.front() = {"", fw::Event::Created, &NothingWithPaths};
                 },
                 "without arguments"},
        FormCase{"NullHandler",
                 [](fw::WindowDef& d) {
                   d.bindings.front() = {"", fw::Event::Created, fw::Handler{nullptr}};
                 },
                 "no handler"},
        FormCase{"BoundTwice",
                 [](fw::WindowDef& d) {
                   d.bindings.push_back({"按钮", fw::Event::Clicked, &Nothing});
                 },
                 "bound twice"},
        FormCase{"ClosableWindowWithoutCloseHandler",
                 [](fw::WindowDef& d) {
                   std::erase_if(d.bindings, [](const fw::Binding& b) {
                     return b.event == fw::Event::CloseRequested;
                   });
                 },
                 "no handler is bound to CloseRequested"},
        FormCase{"CloseHandlerOnAWindowTheUserMayNotClose",
                 [](fw::WindowDef& d) { d.flags.userMayClose = false; }, ""},
        FormCase{"GridWithoutColumns",
                 [](fw::WindowDef& d) { d.units.push_back(fw::GridUnit("g", {}, 0)); },
                 "at least one column"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Registration, ConvertsTextsToGbkOnceAndKeepsNames) {
  Env env;
  const fw::WindowDef& def = tw::window->definition();
  EXPECT_EQ(def.caption, Gbk("测试窗口"));
  EXPECT_EQ(def.units[0].name, "按钮");  // names stay UTF-8 keys
  EXPECT_EQ(tw::window->Caption(), Gbk("测试窗口"));
  EXPECT_EQ(tw::button->Text(), Gbk("按钮"));
  EXPECT_EQ(tw::tabs->Caption(0), Gbk("第一页"));
  EXPECT_EQ(tw::window->Geometry(), (fw::Rect{10, 20, 400, 300}));
  EXPECT_EQ(&fw::Get<fw::Control>("TestWindow", "按钮"), &tw::button.get());
}

TEST(Registration, KeepsNoReferenceToTheCallersDefinition) {
  fw::Headless h;
  Reset();
  {
    std::string name = "Temp";
    std::string unit = "label";
    fw::WindowDef def(name, "caption", 10, 10);
    def.units.push_back(fw::LabelUnit(unit, {}, "text"));
    fw::RegisterForm(def);
    name.assign("XXXX");
    unit.assign("YYYYY");
  }
  ASSERT_TRUE(fw::GetWindow("Temp").Load());
  EXPECT_EQ(fw::Get<fw::Label>("Temp", "label").Text(), "text");
}

// A form that binds CloseRequested without saying that the user may close
// it stays closable, as such forms were before the flag.
TEST(Registration, ACloseHandlerAloneMakesTheWindowClosable) {
  fw::Headless h;
  Reset();
  fw::WindowDef def = TestForm();
  def.name = "Unflagged";
  def.flags.userMayClose = false;
  fw::Window& window = fw::RegisterForm(def);
  EXPECT_TRUE(window.definition().flags.userMayClose);
  ASSERT_TRUE(window.Load());
  Events().clear();
  EXPECT_TRUE(h.Close("Unflagged"));
  EXPECT_EQ(Events(), std::vector<std::string>{"CloseRequested"});
  EXPECT_TRUE(window.IsLoaded());
  Reset();
}

struct FatalCase {
  const char* name;
  std::function<void()> act;
  const char* message;
};

class RegistrationFatal : public ::testing::TestWithParam<FatalCase> {};

TEST_P(RegistrationFatal, EndsTheProgramNamingTheProblem) {
  Env env(false);
  const fw::ProgramEnded end = env.h.Run([&] {
    GetParam().act();
    return 0;
  });
  EXPECT_TRUE(end.fatal);
  EXPECT_EQ(end.code, 1);
  EXPECT_NE(end.fatalMessage.find(GetParam().message), std::string::npos) << end.fatalMessage;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegistrationFatal,
    ::testing::Values(
        FatalCase{"UnsoundForm",
                  [] {
                    fw::WindowDef def = ModalForm();
                    def.name = "Other";
                    def.units.push_back(fw::LabelUnit("确定", {}));
                    fw::RegisterForm(def);
                  },
                  "defined twice"},
        FatalCase{"SameFormTwice", [] { fw::RegisterForm(ModalForm()); }, "registered twice"},
        FatalCase{"MissingWindow", [] { fw::GetWindow("Nope"); }, "no window \"Nope\""},
        FatalCase{"MissingUnit", [] { fw::GetControl("TestWindow", "nope"); }, "no unit \"nope\""},
        FatalCase{"WrongKind", [] { fw::Get<fw::Edit>("TestWindow", "按钮"); }, "not a edit box"}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace fwtest
