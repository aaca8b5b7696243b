// Small forms for the framework tests, and handlers that record what ran.
//
// Handlers are plain functions, so each binding gets its own instance of
// On<"name">, which appends "name" to Events() and then runs the hook a
// test set for that name, if any.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/form.h"
#include "framework/headless.h"
#include "framework/runtime.h"
#include "framework/units.h"
#include "platform/gbk.h"

namespace fwtest {

inline std::vector<std::string>& Events() {
  static std::vector<std::string> events;
  return events;
}
inline std::map<std::string, std::function<void()>, std::less<>>& Hooks() {
  static std::map<std::string, std::function<void()>, std::less<>> hooks;
  return hooks;
}
inline void Reset() {
  Events().clear();
  Hooks().clear();
}
inline void Record(const std::string& name) {
  Events().push_back(name);
  auto it = Hooks().find(name);
  if (it != Hooks().end()) {
    std::function<void()> hook = it->second;  // the hook may replace itself
    hook();
  }
}

template <std::size_t N>
struct Tag {
  char text[N];
  constexpr Tag(const char (&s)[N]) { std::copy_n(s, N, text); }  // NOLINT: implicit
};
template <Tag T>
void On() {
  Record(T.text);
}
template <Tag T>
void OnFiles(const std::string& paths) {
  Events().push_back(std::string(T.text) + " " + paths);
}

using platform::Gbk;

// "TestWindow": one unit of every kind that raises events, every binding.
inline fw::WindowDef TestForm() {
  return fw::WindowDef("TestWindow", "测试窗口", 400, 300)
      .At(10, 20)
      .UserMayClose()
      .Units({
          fw::ButtonUnit("按钮", {1, 1, 50, 20}, "按钮"),
          fw::EditBox("编辑框", {1, 30, 100, 20}, "初始").Multiline(),
          fw::EditBox("只读框", {1, 60, 100, 20}, "只读").ReadOnly(),
          fw::GroupBoxUnit("分组", {200, 1, 100, 100}, "分组"),
          fw::RadioBox("单选1", {2, 2, 40, 16}, "一").In("分组"),
          fw::RadioBox("单选2", {2, 20, 40, 16}, "二").In("分组"),
          fw::RadioBox("单选3", {300, 1, 40, 16}, "三"),
          fw::ComboBox("组合框", {1, 90, 100, 20}),
          fw::TabsUnit("选择夹", {1, 120, 150, 100}, {"第一页", "第二页"}),
          fw::ButtonUnit("页按钮", {2, 2, 40, 20}, "页").OnPage("选择夹", 1),
          fw::TimerUnit("时钟"),
          fw::GridUnit("表格", {160, 120, 100, 100}),
          fw::RichEditBox("富文本", {1, 230, 200, 60}, "红色和蓝色"),
          fw::DropTargetUnit("拖放"),
          fw::LabelUnit("标签", {300, 30, 50, 14}, "标签"),
          fw::SuperButtonUnit("超级按钮", {300, 50, 50, 14}, "超级"),
      })
      .Bind({
          {"", fw::Event::Created, &On<"Created">},
          {"", fw::Event::Destroying, &On<"Destroying">},
          {"", fw::Event::Moved, &On<"Moved">},
          {"", fw::Event::CloseRequested, &On<"CloseRequested">},
          {"按钮", fw::Event::Clicked, &On<"Clicked 按钮">},
          {"编辑框", fw::Event::TextChanged, &On<"TextChanged 编辑框">},
          {"编辑框", fw::Event::LeftButtonDown, &On<"LeftButtonDown 编辑框">},
          {"编辑框", fw::Event::RightButtonDown, &On<"RightButtonDown 编辑框">},
          {"只读框", fw::Event::TextChanged, &On<"TextChanged 只读框">},
          {"单选1", fw::Event::Clicked, &On<"Clicked 单选1">},
          {"单选2", fw::Event::Clicked, &On<"Clicked 单选2">},
          {"单选3", fw::Event::Clicked, &On<"Clicked 单选3">},
          {"组合框", fw::Event::SelectionChanged, &On<"SelectionChanged 组合框">},
          {"选择夹", fw::Event::TabChanged, &On<"TabChanged 选择夹">},
          {"页按钮", fw::Event::Clicked, &On<"Clicked 页按钮">},
          {"时钟", fw::Event::Tick, &On<"Tick 时钟">},
          {"表格", fw::Event::CellEvent, &On<"CellEvent 表格">},
          {"富文本", fw::Event::LeftButtonUp, &On<"LeftButtonUp 富文本">},
          {"拖放", fw::Event::FilesDropped, &OnFiles<"FilesDropped">},
          {"标签", fw::Event::Clicked, &On<"Clicked 标签">},
          {"超级按钮", fw::Event::Clicked, &On<"Clicked 超级按钮">},
      });
}

// "ModalWindow": a button and a timer, for nesting.
inline fw::WindowDef ModalForm() {
  return fw::WindowDef("ModalWindow", "模态", 200, 100)
      .Centred()
      .Units({
          fw::ButtonUnit("确定", {1, 1, 50, 20}, "确定"),
          fw::TimerUnit("时钟"),
      })
      .Bind({
          {"", fw::Event::Created, &On<"Created ModalWindow">},
          {"", fw::Event::Destroying, &On<"Destroying ModalWindow">},
          {"确定", fw::Event::Clicked, &On<"Clicked 确定">},
          {"时钟", fw::Event::Tick, &On<"Tick ModalWindow">},
      });
}

// "ChildWindow": embedded into TestWindow by some tests.
inline fw::WindowDef ChildForm() {
  return fw::WindowDef("ChildWindow", "子窗口", 100, 80)
      .Units({fw::ButtonUnit("子按钮", {1, 1, 50, 20}, "子")})
      .Bind({
          {"", fw::Event::Destroying, &On<"Destroying ChildWindow">},
          {"子按钮", fw::Event::Clicked, &On<"Clicked 子按钮">},
      });
}

inline fw::LoadOptions ModalLoad(fw::Window* owner = nullptr) {
  fw::LoadOptions o;
  o.modal = true;
  o.owner = owner;
  return o;
}

namespace test_window {
inline constexpr fw::WindowRef window{"TestWindow"};
inline constexpr fw::Ref<fw::Button> button{"TestWindow", "按钮"};
inline constexpr fw::Ref<fw::Edit> edit{"TestWindow", "编辑框"};
inline constexpr fw::Ref<fw::Edit> readOnly{"TestWindow", "只读框"};
inline constexpr fw::Ref<fw::GroupBox> group{"TestWindow", "分组"};
inline constexpr fw::Ref<fw::Radio> radio1{"TestWindow", "单选1"};
inline constexpr fw::Ref<fw::Radio> radio2{"TestWindow", "单选2"};
inline constexpr fw::Ref<fw::Radio> radio3{"TestWindow", "单选3"};
inline constexpr fw::Ref<fw::Combo> combo{"TestWindow", "组合框"};
inline constexpr fw::Ref<fw::Tabs> tabs{"TestWindow", "选择夹"};
inline constexpr fw::Ref<fw::Button> pageButton{"TestWindow", "页按钮"};
inline constexpr fw::Ref<fw::Timer> timer{"TestWindow", "时钟"};
inline constexpr fw::Ref<fw::Grid> grid{"TestWindow", "表格"};
inline constexpr fw::Ref<fw::RichEdit> rich{"TestWindow", "富文本"};
inline constexpr fw::Ref<fw::DropTarget> drop{"TestWindow", "拖放"};
}  // namespace test_window

// A fresh headless runtime with the three forms registered; TestWindow is
// loaded when `load` is set. Events recorded during the load are cleared.
class Env {
 public:
  explicit Env(bool load = true) {
    Reset();
    fw::RegisterForm(TestForm());
    fw::RegisterForm(ModalForm());
    fw::RegisterForm(ChildForm());
    if (load) {
      test_window::window->Load();
      Events().clear();
      h.ClearLog();
    }
  }
  ~Env() { Reset(); }
  // Runs `body` as the program and checks how it ended: a body that stalls
  // or ends in a fatal error fails the test instead of passing after a wait.
  fw::ProgramEnded Run(const std::function<int()>& body) {
    const fw::ProgramEnded end = h.Run(body);
    EXPECT_FALSE(end.fatal) << end.fatalMessage;
    return end;
  }
  fw::Headless h;
};

}  // namespace fwtest
