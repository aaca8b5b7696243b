#include "app/prompt.h"

#include <string>

#include "app/delay.h"
#include "app/globals.h"
#include "app/look.h"
#include "app/pictures.h"
#include "app/units.h"
#include "framework/input.h"
#include "framework/runtime.h"
#include "skin/user.h"

namespace app {

namespace {

fw::Font PromptFont() {
  return SongTi(true, 14);
}

fw::WindowDef BuildPromptWindowForm() {
  using fw::Event;
  return fw::WindowDef("PromptWindow", "提示信息", kPromptWidth, kPromptHeight)
      .Centred()
      .OnTop()
      .Draggable()
      .HiddenWhenLoaded()
      .UserMayClose()
      .Background(kWhite)
      .Units({
          fw::LabelUnit("标签1", {-3, 0, 330, 24}, "提示信息")
              .WithFont(PromptFont())
              .Colours(kWhite, kGreen),
          fw::LabelUnit("标签2", {0, 24, 3, 112}).Colours(kGreen, kGreen),
          fw::LabelUnit("标签3", {317, 16, 3, 112}).Colours(kGreen, kGreen),
          fw::LabelUnit("标签4", {0, 118, 336, 3}).Colours(kGreen, kGreen),
          fw::LabelUnit("第一行", {6, 31, 310, 14}).WithFont(PromptFont()).Colours(kRed, kWhite),
          fw::LabelUnit("第二行", {6, 50, 310, 14}).WithFont(PromptFont()).Colours(kGreen, kWhite),
          fw::LabelUnit("第三行", {6, 69, 310, 14}).WithFont(PromptFont()).Colours(kBlack, kWhite),
          fw::PictureButtonUnit("确定按钮1", {33, 90, 65, 23}, PromptOkButtonImages()),
          fw::PictureButtonUnit("取消按钮", {220, 90, 65, 23}, PromptCancelButtonImages()),
          fw::PictureButtonUnit("确定按钮2", {127, 90, 65, 23}, PromptOkButtonImages()).Hidden(),
          fw::TimerUnit("时钟1"),
          fw::TimerUnit("时钟2"),
      })
      .Bind({
          {"", Event::Created, &OnPromptWindowCreated},
          {"", Event::Moved, &OnPromptWindowMoved},
          {"", Event::CloseRequested, &OnPromptWindowCloseRequested},
          {"确定按钮1", Event::Clicked, &OnPromptOkButton1Clicked},
          {"确定按钮2", Event::Clicked, &OnPromptOkButton2Clicked},
          {"取消按钮", Event::Clicked, &OnPromptCancelButtonClicked},
          {"时钟1", Event::Tick, &OnPromptOpenTimerTick},
          {"时钟2", Event::Tick, &OnPromptCloseTimerTick},
      })
      // Enter is OK in either layout; Escape is Cancel, or the one OK.
      .EnterPresses({"确定按钮1", "确定按钮2"})
      .EscapePresses({"取消按钮", "确定按钮2"});
}

// The figure beside the prompt box shows only pictures: the mouse reaches
// what lies below it.
fw::WindowDef BuildPromptBackdropWindowForm() {
  using fw::Event;
  return fw::WindowDef("PromptBackdropWindow", "", kBackdropWidth, kBackdropHeight)
      .Centred()
      .OnTop()
      .InputTransparent()
      .Units({
          fw::TimerUnit("时钟1", 50),
          fw::TimerUnit("时钟2", 30),
      })
      .Bind({
          {"", Event::Created, &OnPromptBackdropWindowCreated},
          {"时钟1", Event::Tick, &OnPromptBackdropTimerTick},
      });
}

// Where the answer of the prompt that is open goes: the result of the
// ShowPromptBox call that loaded it. Kept apart from g_promptResult so that
// a prompt shown by a handler nested inside another call cannot hand its
// answer to the outer call.
int* openPromptResult = nullptr;

class ResultSlot {
 public:
  explicit ResultSlot(int* slot) : outer_(openPromptResult) { openPromptResult = slot; }
  ~ResultSlot() { openPromptResult = outer_; }
  ResultSlot(const ResultSlot&) = delete;
  ResultSlot& operator=(const ResultSlot&) = delete;

 private:
  int* outer_;
};

// A button was pressed: the result is kept and the box rolls up. A press
// while the box is still opening stops the opening, so that only the
// closing changes the width and the box always closes; a press while it
// is closing starts the closing again from the full width.
void Answer(int result) {
  using namespace prompt_window;
  g_promptResult = result;
  if (openPromptResult != nullptr) *openPromptResult = result;
  g_promptLine1.clear();
  g_promptLine2.clear();
  g_promptLine3.clear();
  时钟1->SetPeriod(0);
  时钟2->SetPeriod(kPromptAnimPeriodMs);
  g_promptAnimWidth = kPromptWidth;
}

// The decoration's place beside the prompt box, in floating point truncated
// toward zero.
void PlaceBackdrop() {
  fw::Window& prompt = *prompt_window::window;
  fw::Window& backdrop = *prompt_backdrop_window::window;
  if (!prompt.IsLoaded() || !backdrop.IsLoaded()) return;
  backdrop.SetTop(static_cast<int>(prompt.Top() - static_cast<double>(kBackdropAbove)));
  backdrop.SetLeft(static_cast<int>(prompt.Left() - static_cast<double>(kBackdropLeftOf)));
}

}  // namespace

const fw::WindowDef& PromptWindowForm() {
  static const fw::WindowDef form = BuildPromptWindowForm();
  return form;
}

const fw::WindowDef& PromptBackdropWindowForm() {
  static const fw::WindowDef form = BuildPromptBackdropWindowForm();
  return form;
}

int ShowPromptBox(std::string_view line1, std::string_view line2, std::string_view line3,
                  bool twoButtons) {
  fw::Window& prompt = *prompt_window::window;
  // One prompt at a time: a request made while one is open waits for it.
  while (prompt.IsLoaded()) DelayWithMessages(10);

  g_promptResult = 0;
  g_promptLine1 = line1;
  g_promptLine2 = line2;
  g_promptLine3 = line3;
  g_promptButtonMode = twoButtons ? 2 : 1;

  int result = 0;
  ResultSlot slot(&result);
  fw::LoadOptions options;
  options.modal = true;
  fw::Window& main = *main_window::window;
  if (main.IsLoaded()) options.owner = &main;
  prompt.Load(options);
  g_promptResult = result;
  return result;
}

void OnPromptWindowCreated() {
  using namespace prompt_window;
  fw::Window& prompt = *window;
  fw::Window& main = *main_window::window;

  g_promptAnimWidth = 0;
  // The final frame is centred on MainWindow (on the screen while it is
  // not loaded), computed in floating point and truncated toward zero; the
  // box starts as a strip 1 pixel wide at its final left edge.
  const double centreX =
      main.IsLoaded() ? main.Left() + main.Width() / 2.0 : fw::ScreenWidth() / 2.0;
  const double centreY =
      main.IsLoaded() ? main.Top() + main.Height() / 2.0 : fw::ScreenHeight() / 2.0;
  prompt.SetGeometry({static_cast<int>(centreX - kPromptWidth / 2.0),
                      static_cast<int>(centreY - 60.0), 1, kPromptHeight});

  第一行->SetText(g_promptLine1);
  第二行->SetText(g_promptLine2);
  第三行->SetText(g_promptLine3);

  const bool two = g_promptButtonMode == 2;
  确定按钮1->SetVisible(two);
  取消按钮->SetVisible(two);
  确定按钮2->SetVisible(!two);

  fw::PlaySound(PromptSound());
  prompt.SetVisible(true);
  时钟1->SetPeriod(kPromptAnimPeriodMs);

  // One decoration at a time: the one of a prompt that closed a moment ago
  // is still there for up to 50 ms, and follows this one instead.
  fw::Window& backdrop = *prompt_backdrop_window::window;
  if (backdrop.IsLoaded()) {
    PlaceBackdrop();
    backdrop.BringToFront();
  } else {
    backdrop.Load();
  }
}

void OnPromptOpenTimerTick() {
  g_promptAnimWidth += kPromptAnimStep;
  if (g_promptAnimWidth > kPromptWidth) {
    prompt_window::时钟1->SetPeriod(0);
    prompt_window::window->SetWidth(kPromptWidth);
  } else {
    prompt_window::window->SetWidth(g_promptAnimWidth);
  }
}

void OnPromptCloseTimerTick() {
  g_promptAnimWidth -= kPromptAnimStep;
  if (g_promptAnimWidth > 1) {
    prompt_window::window->SetWidth(g_promptAnimWidth);
    return;
  }
  prompt_window::时钟2->SetPeriod(0);
  prompt_window::window->SetWidth(1);
  prompt_window::window->Destroy();
}

void OnPromptOkButton1Clicked() {
  Answer(1);
}
void OnPromptOkButton2Clicked() {
  Answer(1);
}
void OnPromptCancelButtonClicked() {
  Answer(0);
}

void OnPromptWindowCloseRequested() {
  // Closing the box from outside is the Escape key.
  fw::input::PressKey(*prompt_window::window, fw::input::Key::Escape);
}

void OnPromptWindowMoved() {
  PlaceBackdrop();
}

const skin::ImageRef& PromptDecorationPicture() {
  static skin::ImageRef picture;
  if (picture == nullptr) picture = skin::LoadImageFromBytes(PromptDecorationImage().bytes);
  return picture;
}

void OnPromptBackdropWindowCreated() {
  fw::Window& backdrop = *prompt_backdrop_window::window;
  skin::PngSkin& skin = *g_backdropSkin;
  skin.Attach(skin::HandleOf(backdrop));
  skin.SubclassChildren();
  skin.SetBackImage(PromptDecorationPicture());
  PlaceBackdrop();
}

void OnPromptBackdropTimerTick() {
  if (prompt_window::window->IsLoaded()) return;
  prompt_backdrop_window::时钟1->SetPeriod(0);
  prompt_backdrop_window::window->Destroy();
}

}  // namespace app
