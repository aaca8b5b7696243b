// The prompt box and the test seam that answers it.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/prompt.h"
#include "app/units.h"
#include "framework/runtime.h"
#include "platform/gbk.h"
#include "program_fixture.h"

namespace app_test {
namespace {

using namespace app;
using platform::Gbk;
using ::testing::ElementsAre;

struct AnswerCase {
  bool twoButtons;
  int answer;  // what the user presses: 1 OK, 0 Cancel
  int result;
  int buttonMode;
};

TEST_F(ProgramTest, ReturnsWhatTheUserPressedInEitherLayout) {
  const std::vector<AnswerCase> cases = {
      {false, 1, 1, 1},
      {true, 1, 1, 2},
      {true, 0, 0, 2},
      {false, 0, 1, 1},  // one button: the only answer is OK
  };
  std::vector<int> results;
  RunProgram([&] {
    for (const AnswerCase& c : cases) {
      prompts.Answer({c.answer});
      results.push_back(ShowPromptBox(Gbk("第一"), Gbk("第二"), Gbk("第三"), c.twoButtons));
      EXPECT_FALSE(prompt_window::window->IsLoaded());
      EXPECT_EQ(g_promptResult, c.result);
      EXPECT_EQ(g_promptButtonMode, c.twoButtons ? 2 : 1);
      EXPECT_EQ(g_promptLine1, "");
      EXPECT_EQ(g_promptLine2, "");
      EXPECT_EQ(g_promptLine3, "");
    }
  });
  ASSERT_EQ(prompts.Shown().size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(results[i], cases[i].result);
    const app::testing::ShownPrompt& shown = prompts.Shown()[i];
    EXPECT_EQ(shown.buttonMode, cases[i].buttonMode);
    EXPECT_EQ(shown.answer, cases[i].result);
    EXPECT_THAT(shown.lines, ElementsAre("第一", "第二", "第三"));
    EXPECT_EQ(shown.gbk[1], Gbk("第二"));
  }
  EXPECT_EQ(prompts.Unused(), 0);
}

TEST_F(ProgramTest, AMessageIsTheSecondLineWithOneButton) {
  RunProgram([&] {
    prompts.Ok(2);
    ShowMessage(Gbk("技能数据已复制！"));
    ShowPromptBox({}, {}, {}, false);  // an empty box still opens and closes
  });
  EXPECT_THAT(prompts.Messages(), ElementsAre("技能数据已复制！", ""));
  EXPECT_THAT(prompts.Shown()[0].lines, ElementsAre("", "技能数据已复制！", ""));
  EXPECT_EQ(prompts.Shown()[0].buttonMode, 1);
}

TEST_F(ProgramTest, TheOpenPromptBlocksMainWindowAndItsSideWindows) {
  RunProgram([&] {
    prompts.During([&] {
      EXPECT_TRUE(prompt_window::window->Visible());
      EXPECT_FALSE(h.Click(kMainWindow, "读取按钮"));
      EXPECT_FALSE(h.Click(kSkillParamWindow, "保存按钮"));
      EXPECT_FALSE(h.Click(kMasteryLevelWindow, "保存按钮"));
    });
    ShowMessage(Gbk("提示"));
    EXPECT_TRUE(h.Click(kMainWindow, "读取按钮"));
  });
  EXPECT_THAT(h.Log(), ::testing::Contains("load PromptWindow modal owner=MainWindow"));
}

// The final frame is centred on MainWindow, computed in floating point and
// truncated toward zero (so -479.5 gives -479, not -480).
TEST_F(ProgramTest, ThePromptIsCentredOnMainWindow) {
  struct Place {
    int mainLeft;
    int mainTop;
    fw::Rect prompt;
  };
  const std::vector<Place> places = {
      {50, 50, {370, 288, 320, 121}},
      {-800, -3, {-479, 235, 320, 121}},
      {-800, -300, {-479, -61, 320, 121}},
  };
  std::vector<fw::Rect> shown;
  RunProgram([&] {
    for (const Place& p : places) {
      ASSERT_TRUE(h.Drag(kMainWindow, p.mainLeft, p.mainTop));
      prompts.During([&] { shown.push_back(prompt_window::window->Geometry()); });
      ShowMessage(Gbk("提示"));
    }
  });
  ASSERT_EQ(shown.size(), places.size());
  for (std::size_t i = 0; i < places.size(); ++i) EXPECT_EQ(shown[i], places[i].prompt) << i;
}

// A prompt asked for by a handler that runs while another prompt is open
// waits for that one to close; each caller gets its own answer.
TEST_F(ProgramTest, ANestedPromptWaitsForTheOpenOneAndKeepsItsOwnAnswer) {
  int outer = -1;
  int inner = -1;
  RunProgram([&] {
    prompts.During([&] {
      h.Then([&] { h.Click(kPromptWindow, "确定按钮2"); });
      prompts.Cancel();
      inner = ShowPromptBox({}, Gbk("第二个"), {}, true);
    });
    outer = ShowPromptBox({}, Gbk("第一个"), {}, false);
  });
  EXPECT_EQ(outer, 1);
  EXPECT_EQ(inner, 0);
  EXPECT_THAT(prompts.Messages(), ElementsAre("第一个", "第二个"));
  EXPECT_EQ(prompts.Shown()[1].buttonMode, 2);
}

}  // namespace
}  // namespace app_test
