#include "app/side_windows.h"

#include "app/delay.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/mastery_rows.h"
#include "app/pictures.h"
#include "app/units.h"
#include "framework/runtime.h"
#include "platform/gbk.h"

namespace app {

namespace {

fw::WindowDef BuildSkillParamWindowForm() {
  return fw::WindowDef("SkillParamWindow", "技能参数修改", kParamWindowWidth, kParamWindowHeight)
      .Centred()
      .Draggable()
      .Units({
          fw::GridUnit("参数表格", {3, 3, 167, 400}),
          fw::ButtonUnit("保存按钮", {3, 406, 167, 30}, "保存"),
      })
      .Bind({
          {"", fw::Event::Created, &OnSkillParamWindowCreated},
          {"保存按钮", fw::Event::Clicked, &OnParamSaveButtonClicked},
      });
}

fw::WindowDef BuildMasteryLevelWindowForm() {
  return fw::WindowDef("MasteryLevelWindow", "技能精通等级修改", kMasteryWindowWidth,
                       kMasteryWindowHeight)
      .Centred()
      .Draggable()
      .Units({
          fw::ComboBox("全职业组合框", {3, 3, 146, 20}).Hidden(),
          fw::GridUnit("精通表格", {3, 26, 146, 248}),
          fw::ButtonUnit("保存按钮", {3, 277, 146, 30}, "保存"),
      })
      .Bind({
          {"", fw::Event::Created, &OnMasteryLevelWindowCreated},
          {"全职业组合框", fw::Event::SelectionChanged, &OnAllClassComboSelectionChanged},
          {"保存按钮", fw::Event::Clicked, &OnMasterySaveButtonClicked},
      });
}

// A side window with the button on MainWindow that slides it.
struct SideWindow {
  fw::WindowRef window;
  fw::Ref<fw::PictureButton> button;
  int width;  // full width
  int step;   // pixels per step of a slide
  fw::ImageSet (*images)(bool windowShown);
  bool* sliding;  // a slide of this window is running
};

bool g_paramWindowSliding = false;
bool g_masteryWindowSliding = false;

const SideWindow kParamSide{param_window::window, main_window::参数窗口按钮, kParamWindowWidth,
                            kParamSlideStep,      &ParamWindowButtonImages,  &g_paramWindowSliding};
const SideWindow kMasterySide{mastery_window::window,     main_window::精通窗口按钮,
                              kMasteryWindowWidth,        kMasterySlideStep,
                              &MasteryWindowButtonImages, &g_masteryWindowSliding};

// Marks a slide as running for as long as it lives.
class SlideGuard {
 public:
  explicit SlideGuard(bool* sliding) : sliding_(sliding) { *sliding_ = true; }
  ~SlideGuard() { *sliding_ = false; }
  SlideGuard(const SlideGuard&) = delete;
  SlideGuard& operator=(const SlideGuard&) = delete;

 private:
  bool* sliding_;
};

// Shrinks the window towards its left edge down to 3 pixels, then hides it
// and gives it back its full width.
void SlideClose(const SideWindow& side) {
  fw::Window& w = *side.window;
  int width = side.width;
  while (width > kSlideShutWidth) {
    DelayWithMessages(kSlidePeriodMs);
    width -= side.step;
    w.SetWidth(width);
  }
  w.SetWidth(kSlideShutWidth);
  w.SetVisible(false);
  w.SetWidth(side.width);
}

// Keeps the window inside MainWindow (below its caption bar), shows it 3
// pixels wide and widens it step by step to its full width.
void SlideOpen(const SideWindow& side) {
  fw::Window& w = *side.window;
  const fw::Window& main = *main_window::window;
  const int maxLeft = main.Width() - w.Width() - kMainBorder;
  if (w.Left() > maxLeft) w.SetLeft(maxLeft);
  const int maxTop = main.Height() - w.Height() - kMainBorder;
  if (w.Top() > maxTop) w.SetTop(maxTop);
  if (w.Left() < kMainBorder) w.SetLeft(kMainBorder);
  if (w.Top() < kMainCaptionHeight) w.SetTop(kMainCaptionHeight);
  w.SetVisible(true);
  int width = kSlideShutWidth;
  w.SetWidth(width);
  while (width < side.width) {
    DelayWithMessages(kSlidePeriodMs);
    width += side.step;
    w.SetWidth(width);
  }
  w.SetWidth(side.width);
}

// A click on a side button slides its window shut or open, with the
// button's pictures of the state it slides to. A click while the window
// still slides does nothing, so every slide ends at full width or hidden
// with the matching pictures.
void OnSideButtonClicked(const SideWindow& side, void (*slideOpen)(), void (*slideClose)()) {
  if (*side.sliding) return;
  const SlideGuard guard(side.sliding);
  const bool shown = side.window->Visible();
  side.button->SetImages(side.images(!shown));
  shown ? slideClose() : slideOpen();
}

}  // namespace

bool EmbedChildWindow(fw::Window& parent, fw::Window& child, int left, int top,
                      std::optional<int> width, std::optional<int> height) {
  return child.EmbedIn(parent, left, top, width, height);
}

void SlideParamWindowClose() {
  SlideClose(kParamSide);
}

void SlideParamWindowOpen() {
  SlideOpen(kParamSide);
}

void SlideMasteryWindowClose() {
  SlideClose(kMasterySide);
}

void SlideMasteryWindowOpen() {
  SlideOpen(kMasterySide);
}

void OnParamWindowButtonClicked() {
  OnSideButtonClicked(kParamSide, &SlideParamWindowOpen, &SlideParamWindowClose);
}

void OnMasteryWindowButtonClicked() {
  OnSideButtonClicked(kMasterySide, &SlideMasteryWindowOpen, &SlideMasteryWindowClose);
}

void OnAllClassComboSelectionChanged() {
  const std::string text = mastery_window::全职业组合框->CurrentText();
  if (text != platform::Gbk("请选择一个职业")) {
    main_window::职业标签->SetText(text);
    LoadMasteryLevels();
  } else {
    mastery_window::精通表格->DeleteDataRows();
  }
}

const fw::WindowDef& SkillParamWindowForm() {
  static const fw::WindowDef form = BuildSkillParamWindowForm();
  return form;
}

const fw::WindowDef& MasteryLevelWindowForm() {
  static const fw::WindowDef form = BuildMasteryLevelWindowForm();
  return form;
}

void OnSkillParamWindowCreated() {
  using platform::Gbk;
  param_window::参数表格->SetCellText(0, 0, Gbk("数据类型"));
  param_window::参数表格->SetCellText(0, 1, Gbk("数值"));
  EmbedChildWindow(*main_window::window, *param_window::window, kParamWindowLeft, kParamWindowTop);
}

void OnMasteryLevelWindowCreated() {
  using platform::Gbk;
  mastery_window::精通表格->SetCellText(0, 0, Gbk("职业"));
  mastery_window::精通表格->SetCellText(0, 1, Gbk("精通等级"));
  fw::Window& params = *param_window::window;
  EmbedChildWindow(*main_window::window, *mastery_window::window, params.Left() + params.Width(),
                   kMasteryWindowTop);
}

}  // namespace app
