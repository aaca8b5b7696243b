// The user's hands on the headless program: a test starts the whole
// program, acts on it as the user does (pastes into 编辑框1, presses
// buttons, drops files, opens and loads the skill list) and sees what each
// action showed in the prompt box, whose prompts it answers.
//
//   class MyTest : public app_test::UserHands {};
//   TEST_F(MyTest, CopyIsRefusedWhileHeld) {
//     RunProgram([&] {
//       PasteAndRead(script);
//       EXPECT_THAT(Click("复制按钮", 1), ElementsAre("..."));
//     });
//   }
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "app/program.h"
#include "app/script_box.h"
#include "app/testing/prompts.h"
#include "app/units.h"
#include "framework/headless.h"
#include "platform/codepage.h"

namespace app_test {

// Model texts are GBK; expectations read better in UTF-8.
inline std::string Utf8(std::string_view gbk) {
  return platform::GbkToUtf8(gbk);
}

class UserHands : public ::testing::Test {
 protected:
  // Starts the program, runs `whileUp` once MainWindow is up, then closes
  // the program through 关闭按钮, unless `whileUp` has ended it already: the
  // user leaves, letting go of unsaved changes in the script box when asked
  // (OK). The program must end through the exit road with code 0: a prompt
  // that nobody answers stalls the run, which fails the test.
  fw::ProgramEnded RunProgram(const std::function<void()>& whileUp) {
    h.Then([this, whileUp] {
      whileUp();
      if (app::ScriptBoxHoldsUnsavedChanges()) prompts.Ok();
      h.Click(app::kMainWindow, "关闭按钮");
    });
    const fw::ProgramEnded end = h.Run(&app::ProgramStart);
    EXPECT_FALSE(end.fatal) << Utf8(end.fatalMessage);
    EXPECT_EQ(end.code, 0);
    return end;
  }

  // Runs `action`, answering `expected` prompts with OK; returns the
  // messages that were shown meanwhile. A prompt beyond them ends the run
  // as stalled.
  std::vector<std::string> Prompted(std::size_t expected, const std::function<void()>& action) {
    const std::size_t before = prompts.Shown().size();
    prompts.Ok(static_cast<int>(expected));
    action();
    EXPECT_EQ(prompts.Unused(), 0) << "fewer prompts than expected";
    const std::vector<std::string> all = prompts.Messages();
    return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
  }

  // Pastes `gbk` into 编辑框1 (its whole text).
  bool Paste(std::string_view gbk) { return h.Type(app::kMainWindow, "编辑框1", gbk); }
  // Clicks a unit of MainWindow, answering `expectedPrompts` prompts.
  std::vector<std::string> Click(std::string_view unit, std::size_t expectedPrompts = 0) {
    return Prompted(expectedPrompts, [&] { EXPECT_TRUE(h.Click(app::kMainWindow, unit)) << unit; });
  }
  // Pastes a script and presses 读取按钮.
  std::vector<std::string> PasteAndRead(std::string_view gbk, std::size_t expectedPrompts = 0) {
    EXPECT_TRUE(Paste(gbk));
    return Click("读取按钮", expectedPrompts);
  }
  // Drops `paths` on the script box and returns the messages shown.
  std::vector<std::string> Drop(std::vector<std::string> paths, std::size_t expectedPrompts) {
    return Prompted(expectedPrompts,
                    [&] { EXPECT_TRUE(h.Drop(app::kMainWindow, "编辑框1", std::move(paths))); });
  }
  // Opens the skill list from MainWindow.
  bool OpenList() { return h.Click(app::kMainWindow, "加载按钮"); }
  // Presses 加载技能按钮, answering `expectedPrompts` prompts; the load has
  // ended when this returns.
  std::vector<std::string> Load(std::size_t expectedPrompts = 0) {
    return Prompted(expectedPrompts,
                    [&] { EXPECT_TRUE(h.Click(app::kSkillListWindow, "加载技能按钮")); });
  }

  fw::Headless h;
  app::testing::Prompts prompts{h};
};

}  // namespace app_test
