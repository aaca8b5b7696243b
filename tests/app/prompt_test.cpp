// The prompt box: layouts and results, the opening and closing animations,
// keys and a close from outside, centring, one prompt and one decoration at
// a time, the decoration's composed picture, and the test seam.
#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/pictures.h"
#include "app/prompt.h"
#include "app/units.h"
#include "framework/input.h"
#include "framework/runtime.h"
#include "platform/gbk.h"
#include "program_fixture.h"
#include "skin/gdiplus.h"

namespace app_test {
namespace {

using namespace app;
using fw::input::Key;
using platform::Gbk;
using ::testing::ElementsAre;

fw::Window& Prompt() {
  return *prompt_window::window;
}
fw::Window& Backdrop() {
  return *prompt_backdrop_window::window;
}

// ---- Results ----------------------------------------------------------------

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
      EXPECT_FALSE(Prompt().IsLoaded());
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

// Enter presses OK in either layout; Escape presses Cancel, or the only OK;
// a close from the window system acts as Escape.
struct KeyCase {
  const char* name;
  bool twoButtons;
  std::function<bool(fw::Headless&)> act;
  int result;
};

TEST_F(ProgramTest, EnterEscapeAndACloseFromOutsideAnswerTheBox) {
  const std::vector<KeyCase> cases = {
      {"Enter, one button", false,
       [](fw::Headless& user) { return user.PressKey(kPromptWindow, Key::Enter); }, 1},
      {"Escape, one button", false,
       [](fw::Headless& user) { return user.PressKey(kPromptWindow, Key::Escape); }, 1},
      {"Close, one button", false, [](fw::Headless& user) { return user.Close(kPromptWindow); }, 1},
      {"Enter, two buttons", true,
       [](fw::Headless& user) { return user.PressKey(kPromptWindow, Key::Enter); }, 1},
      {"Escape, two buttons", true,
       [](fw::Headless& user) { return user.PressKey(kPromptWindow, Key::Escape); }, 0},
      {"Close, two buttons", true, [](fw::Headless& user) { return user.Close(kPromptWindow); }, 0},
  };
  std::vector<int> results;
  RunProgram([&] {
    for (const KeyCase& c : cases) {
      g_promptResult = c.twoButtons ? 1 : 0;  // the opposite of the answer
      h.OnNextModal(kPromptWindow, [&] { EXPECT_TRUE(c.act(h)) << c.name; });
      results.push_back(ShowPromptBox({}, Gbk(c.name), {}, c.twoButtons));
    }
  });
  ASSERT_EQ(results.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(results[i], cases[i].result) << cases[i].name;
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
  // Each prompt plays the sound once, from memory.
  ASSERT_EQ(h.Sounds().size(), 2u);
  EXPECT_EQ(h.Sounds()[0].data(), PromptSound().data());
}

TEST_F(ProgramTest, TheOpenPromptBlocksMainWindowAndItsSideWindows) {
  RunProgram([&] {
    prompts.During([&] {
      EXPECT_TRUE(Prompt().Visible());
      EXPECT_FALSE(h.Click(kMainWindow, "读取按钮"));
      EXPECT_FALSE(h.Click(kSkillParamWindow, "保存按钮"));
      EXPECT_FALSE(h.Click(kMasteryLevelWindow, "保存按钮"));
    });
    ShowMessage(Gbk("提示"));
    prompts.Ok();  // the read of the hint text says what is wrong
    EXPECT_TRUE(h.Click(kMainWindow, "读取按钮"));
  });
  EXPECT_THAT(h.Log(), ::testing::Contains("load PromptWindow modal owner=MainWindow"));
  EXPECT_EQ(prompts.Unused(), 0);
}

// ---- Animations ---------------------------------------------------------------

// The width every 10 ms for at most `ticks` ticks, 0 once the box is gone,
// with its left edge each time.
struct Frames {
  std::vector<int> widths;
  std::vector<int> lefts;
};

Frames Watch(int ticks = 40) {
  Frames f;
  for (int tick = 0; tick < ticks; ++tick) {
    fw::DelayWithMessages(kPromptAnimPeriodMs);
    if (!Prompt().IsLoaded()) {
      f.widths.push_back(0);  // destroyed
      break;
    }
    f.widths.push_back(Prompt().Width());
    f.lefts.push_back(Prompt().Left());
  }
  return f;
}

TEST_F(ProgramTest, OpensBy32PixelsEvery10MsAndClosesTheSameWay) {
  Frames opening;
  Frames closing;
  int firstWidth = 0;
  int left = 0;
  RunProgram([&] {
    h.OnNextModal(kPromptWindow, [&] {
      firstWidth = Prompt().Width();
      left = Prompt().Left();
      EXPECT_TRUE(Backdrop().IsLoaded());
      opening = Watch(11);
      EXPECT_FALSE(prompt_window::时钟1->Period() > 0);  // tick 11 stopped it
      ASSERT_TRUE(h.Click(kPromptWindow, "确定按钮2"));
      closing = Watch();
    });
    ShowMessage(Gbk("动画"));
  });
  EXPECT_EQ(firstWidth, 1);
  EXPECT_EQ(opening.widths, (std::vector<int>{32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 320}));
  // It rolls up toward its left edge, and is gone at the tenth tick.
  EXPECT_EQ(closing.widths, (std::vector<int>{288, 256, 224, 192, 160, 128, 96, 64, 32, 0}));
  for (int l : opening.lefts) EXPECT_EQ(l, left);
  for (int l : closing.lefts) EXPECT_EQ(l, left);
}

// A press while the box still opens stops the opening, so the box closes; a
// second press while it closes starts the closing again from the full
// width, and the second press's answer is the one returned.
TEST_F(ProgramTest, PressesDuringOpeningAndDuringClosing) {
  Frames afterEarlyPress;
  Frames afterSecondPress;
  int early = -1;
  int late = -1;
  RunProgram([&] {
    h.OnNextModal(kPromptWindow, [&] {
      fw::DelayWithMessages(30);  // three ticks of opening: width 96
      EXPECT_EQ(Prompt().Width(), 96);
      ASSERT_TRUE(h.Click(kPromptWindow, "确定按钮1"));
      afterEarlyPress = Watch();
    });
    early = ShowPromptBox({}, Gbk("早按"), {}, true);

    h.OnNextModal(kPromptWindow, [&] {
      fw::DelayWithMessages(150);  // fully open
      ASSERT_TRUE(h.Click(kPromptWindow, "确定按钮1"));
      fw::DelayWithMessages(40);  // four ticks of closing: width 192
      EXPECT_EQ(Prompt().Width(), 192);
      ASSERT_TRUE(h.Click(kPromptWindow, "取消按钮"));
      afterSecondPress = Watch();
    });
    late = ShowPromptBox({}, Gbk("再按"), {}, true);
  });
  EXPECT_EQ(early, 1);
  EXPECT_EQ(afterEarlyPress.widths,
            (std::vector<int>{288, 256, 224, 192, 160, 128, 96, 64, 32, 0}));
  EXPECT_EQ(late, 0);
  EXPECT_EQ(afterSecondPress.widths,
            (std::vector<int>{288, 256, 224, 192, 160, 128, 96, 64, 32, 0}));
}

// ---- Place --------------------------------------------------------------------

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
      prompts.During([&] {
        fw::DelayWithMessages(150);
        shown.push_back(Prompt().Geometry());
      });
      ShowMessage(Gbk("提示"));
    }
    // Where the window system put MainWindow counts as well.
    ASSERT_TRUE(h.Place(kMainWindow, {100, 200, 961, 597}));
    prompts.During([&] {
      fw::DelayWithMessages(150);
      shown.push_back(Prompt().Geometry());
    });
    ShowMessage(Gbk("提示"));
  });
  ASSERT_EQ(shown.size(), places.size() + 1);
  for (std::size_t i = 0; i < places.size(); ++i) EXPECT_EQ(shown[i], places[i].prompt) << i;
  EXPECT_EQ(shown.back(), (fw::Rect{420, 438, 320, 121}));
}

// ---- One at a time -------------------------------------------------------------

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

// Two messages one after the other, as a read reports two problems: the
// second box opens while the first one's decoration is still there, which
// then follows the second box; there is never more than one, it goes at
// most 50 ms after the last box, and its picture goes with it.
TEST_F(ProgramTest, TwoPromptsInQuickSuccessionShareOneDecoration) {
  int liveBefore = 0;
  std::vector<bool> backdropAtStart;
  std::vector<fw::Rect> backdropPlaces;
  bool backdropAfterReturn = false;
  bool backdropAfter50 = true;
  RunProgram([&] {
    liveBefore = skin::gdip::LiveObjects();
    for (int i = 0; i < 2; ++i) {
      prompts.During([&] {
        backdropAtStart.push_back(Backdrop().IsLoaded());
        // The box closes 100 ms after the press, between two of the
        // decoration's 50 ms checks.
        fw::DelayWithMessages(155);
        backdropPlaces.push_back(Backdrop().Geometry());
      });
    }
    ASSERT_TRUE(h.Drag(kMainWindow, 100, 100));
    ShowMessage(Gbk("第一个"));
    ASSERT_TRUE(h.Drag(kMainWindow, 300, 200));
    ShowMessage(Gbk("第二个"));
    backdropAfterReturn = Backdrop().IsLoaded();
    fw::DelayWithMessages(50);
    backdropAfter50 = Backdrop().IsLoaded();
  });
  EXPECT_EQ(h.LoadCount(kPromptWindow), 2);
  EXPECT_EQ(h.LoadCount(kPromptBackdropWindow), 1);
  EXPECT_THAT(backdropAtStart, ElementsAre(true, true));
  // Prompt at (420, 338) then (620, 438): the figure 198 left, 124 above.
  EXPECT_THAT(backdropPlaces,
              ElementsAre(fw::Rect{222, 214, 345, 337}, fw::Rect{422, 314, 345, 337}));
  EXPECT_TRUE(backdropAfterReturn);
  EXPECT_FALSE(backdropAfter50);
  EXPECT_EQ(skin::gdip::LiveObjects(), liveBefore);
}

// ---- The decoration ----------------------------------------------------------------

bool Transparent(const fw::Frame& frame, const fw::Rect& r) {
  for (int y = r.top; y < r.top + r.height; ++y) {
    for (int x = r.left; x < r.left + r.width; ++x) {
      if ((frame.At(x, y) >> 24) != 0) return false;
    }
  }
  return true;
}

// The figure is composed with per-pixel alpha from its PNG; where the box's
// text lines and buttons lie it is fully transparent, elsewhere the figure
// is there. It follows the box wherever the box goes, keeps its form's
// flags (on top, no taskbar entry, no input) and is never interactive.
TEST_F(ProgramTest, TheDecorationIsClearOverTheBoxAndFollowsIt) {
  fw::Frame frame;
  std::vector<fw::Rect> places;
  RunProgram([&] {
    prompts.During([&] {
      fw::DelayWithMessages(150);
      EXPECT_TRUE(Backdrop().Layered());
      EXPECT_TRUE(Backdrop().Visible());
      frame = Backdrop().LayeredFrame();
      places.push_back(Backdrop().Geometry());
      ASSERT_TRUE(h.Drag(kPromptWindow, 500, 400));
      places.push_back(Backdrop().Geometry());
      ASSERT_TRUE(h.Place(kPromptWindow, {510, 420, 320, 121}));
      places.push_back(Backdrop().Geometry());
    });
    ShowMessage(Gbk("装饰"));
  });
  const fw::WindowFlags& flags = PromptBackdropWindowForm().flags;
  EXPECT_TRUE(flags.onTop);
  EXPECT_FALSE(flags.inTaskbar);
  EXPECT_TRUE(flags.inputTransparent);

  ASSERT_EQ(frame.width, 345);
  ASSERT_EQ(frame.height, 337);
  // The picture 1:1, as it was decoded.
  ASSERT_NE(PromptDecorationPicture(), nullptr);
  EXPECT_EQ(*frame.pixels, *skin::gdip::ImagePixels(PromptDecorationPicture().get()));
  // The box's units, in the figure's coordinates.
  for (const char* unit : {"第一行", "第二行", "第三行", "确定按钮1", "确定按钮2", "取消按钮"}) {
    fw::Rect r = PromptWindowForm().units[0].rect;
    for (const fw::UnitDef& u : PromptWindowForm().units) {
      if (u.name == unit) r = u.rect;
    }
    r.left += kBackdropLeftOf;
    r.top += kBackdropAbove;
    EXPECT_TRUE(Transparent(frame, r)) << unit;
  }
  // The figure itself: the swordsman's head and body left of the box.
  EXPECT_EQ(frame.At(106, 80) >> 24, 255u);
  EXPECT_EQ(frame.At(104, 150) >> 24, 255u);
  EXPECT_EQ(frame.At(5, 5) >> 24, 0u);

  // MainWindow centred on the 1920 x 1080 screen puts the box at (799, 479).
  EXPECT_THAT(places, ElementsAre(fw::Rect{601, 355, 345, 337}, fw::Rect{302, 276, 345, 337},
                                  fw::Rect{312, 296, 345, 337}));
}

}  // namespace
}  // namespace app_test
