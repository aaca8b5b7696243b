// The side windows slide shut and open under their buttons, and 变换按钮
// reports a missing static copy.
#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/pictures.h"
#include "app/read_skill.h"
#include "app/side_windows.h"
#include "app/units.h"
#include "platform/gbk.h"
#include "read_session.h"
#include "tests/test_names.h"

namespace read_test {
namespace {

using namespace app;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Widths = std::vector<int>;

struct Side {
  const char* name;
  fw::WindowRef window;
  const char* button;
  fw::ImageSet (*images)(bool);
  int width;       // full width
  Widths closing;  // widths written step by step
  Widths opening;
};

const Side kSides[] = {
    {"param",
     param_window::window,
     "参数窗口按钮",
     &ParamWindowButtonImages,
     173,
     {156, 139, 122, 105, 88, 71, 54, 37, 20, 3},
     {20, 37, 54, 71, 88, 105, 122, 139, 156, 173}},
    {"mastery",
     mastery_window::window,
     "精通窗口按钮",
     &MasteryWindowButtonImages,
     152,
     {137, 122, 107, 92, 77, 62, 47, 32, 17, 2},
     {18, 33, 48, 63, 78, 93, 108, 123, 138, 153}},
};

class SlideTest : public ReadSessionWith<Side> {
 protected:
  // Clicks `button` and records the window's width 7 ms into each 15 ms
  // step of the slide (after the step's write, before the next one);
  // `during` runs at the first sample.
  Widths ClickAndSample(const Side& s, int samples, const std::function<void()>& during = {}) {
    Widths widths;
    for (int i = 0; i < samples; ++i) {
      h.Then(
          [&, i] {
            if (i == 0 && during) during();
            widths.push_back(s.window->Width());
          },
          i == 0 ? 22 : 15);
    }
    EXPECT_TRUE(h.Click(kMainWindow, s.button));
    return widths;
  }
  fw::PictureButton& Button(const Side& s) {
    return fw::Get<fw::PictureButton>(kMainWindow, s.button);
  }
};

TEST_P(SlideTest, ShutsAndOpensStepByStepWithThePicturesOfTheState) {
  const Side& s = GetParam();
  Run([&] {
    fw::Window& w = *s.window;
    const fw::Rect open = w.Geometry();
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(Button(s).Images(), s.images(true));

    const Widths closing = ClickAndSample(s, 9);
    EXPECT_THAT(closing, ElementsAreArray(Widths(s.closing.begin(), s.closing.begin() + 9)));
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(w.Width(), open.width);  // full width again, while hidden
    EXPECT_EQ(Button(s).Images(), s.images(false));

    const Widths opening = ClickAndSample(s, 9);
    EXPECT_THAT(opening, ElementsAreArray(Widths(s.opening.begin(), s.opening.begin() + 9)));
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Geometry(), open);
    EXPECT_EQ(Button(s).Images(), s.images(true));
  });
}

TEST_P(SlideTest, AClickDuringTheSlideDoesNothing) {
  const Side& s = GetParam();
  Run([&] {
    fw::Window& w = *s.window;
    const Widths closing =
        ClickAndSample(s, 3, [&] { EXPECT_TRUE(h.Click(kMainWindow, s.button)); });
    EXPECT_THAT(closing, ElementsAre(s.closing[0], s.closing[1], s.closing[2]));
    EXPECT_FALSE(w.Visible());
    EXPECT_EQ(Button(s).Images(), s.images(false));
    ClickAndSample(s, 2, [&] { EXPECT_TRUE(h.Click(kMainWindow, s.button)); });
    EXPECT_TRUE(w.Visible());
    EXPECT_EQ(w.Width(), s.width);
    EXPECT_EQ(Button(s).Images(), s.images(true));
  });
}

TEST_P(SlideTest, AWindowOpensInsideTheMainWindow) {
  const Side& s = GetParam();
  Run([&] {
    fw::Window& w = *s.window;
    h.Click(kMainWindow, s.button);
    struct Case {
      int left, top, shownLeft, shownTop;
    };
    const int right = 961 - w.Width() - 3;
    const int bottom = 597 - w.Height() - 3;
    const Case cases[] = {{900, 500, right, bottom},
                          {-40, 2, 3, 24},
                          {100, 30, 100, 30},
                          {right, bottom, right, bottom}};
    for (const Case& c : cases) {
      w.SetLeft(c.left);
      w.SetTop(c.top);
      h.Click(kMainWindow, s.button);
      EXPECT_EQ(w.Left(), c.shownLeft);
      EXPECT_EQ(w.Top(), c.shownTop);
      h.Click(kMainWindow, s.button);
    }
  });
}

std::string SideName(const ::testing::TestParamInfo<Side>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Sides, SlideTest, ::testing::ValuesIn(kSides), SideName);

class ClassChoiceTest : public ReadSessionWith<const char*> {};

TEST_P(ClassChoiceTest, AChoiceLeftByAReadThatHeldNothingGoesWithTheNextRead) {
  Run([&] {
    using namespace mastery_window;
    // A read that holds nothing and offers the class choice.
    PasteAndRead(Fixture("mastery_choice_only", GetParam()), 2);
    ASSERT_TRUE(全职业组合框->Visible());
    ASSERT_EQ(Text(main_window::读取按钮), "读取数据");

    // A single-class skill (魔法师(男)) read next: its own rows, no choice.
    PasteAndRead(Fixture("static_one_block", GetParam()), 1);
    EXPECT_FALSE(全职业组合框->Visible());
    EXPECT_FALSE(g_classChoicePending);
    EXPECT_FALSE(h.Choose(kMasteryLevelWindow, "全职业组合框", 6));
    EXPECT_EQ(Text(main_window::职业标签), "魔法师(男)");
    EXPECT_THAT(Column(精通表格), ElementsAre("未转职", "元素爆破师", "冰结师"));
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, ClassChoiceTest, ::testing::Values("SP", "PT"), test_names::Text());

class SwitchTest : public ReadSessionWith<const char*> {};

// The switch itself is tested with the data sets; here, what it tells.
TEST_P(SwitchTest, AMissingCopyIsReportedAfterAQuietReadToo) {
  Run([&] {
    using namespace main_window;
    g_reportMissingData = false;  // as after the re-read that follows a write
    编辑框1->SetText(Fixture("static_arena_missing", GetParam()));
    ReadOrReleaseSkill();
    EXPECT_EQ(Text(静态类型标签), "地下城");
    EXPECT_THAT(Click("变换按钮", 1), ElementsAre("技能没有[决斗场]静态数据！"));
    EXPECT_TRUE(编辑框1->Disabled());  // the skill stays held
    EXPECT_EQ(Text(读取按钮), "释放数据");
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, SwitchTest, ::testing::Values("SP", "PT"), test_names::Text());

}  // namespace
}  // namespace read_test
