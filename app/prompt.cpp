#include "app/prompt.h"

#include <string>

#include "app/delay.h"
#include "app/globals.h"
#include "app/look.h"
#include "app/units.h"
#include "framework/runtime.h"

namespace app {

namespace {

constexpr int kPromptWidth = 320;
constexpr int kPromptHeight = 121;

fw::Font PromptFont() {
  return SongTi(true, 14);
}

fw::WindowDef BuildPromptWindowForm() {
  using fw::Event;
  return fw::WindowDef("PromptWindow", "提示信息", kPromptWidth, kPromptHeight)
      .OnTop()
      .Draggable()
      .HiddenWhenLoaded()
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
          fw::ButtonUnit("确定按钮1", {33, 90, 65, 23}, "确定"),
          fw::ButtonUnit("取消按钮", {220, 90, 65, 23}, "取消"),
          fw::ButtonUnit("确定按钮2", {127, 90, 65, 23}, "确定").Hidden(),
      })
      .Bind({
          {"", Event::Created, &OnPromptWindowCreated},
          {"确定按钮1", Event::Clicked, &OnPromptOkButton1Clicked},
          {"确定按钮2", Event::Clicked, &OnPromptOkButton2Clicked},
          {"取消按钮", Event::Clicked, &OnPromptCancelButtonClicked},
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

void Answer(int result) {
  g_promptResult = result;
  if (openPromptResult != nullptr) *openPromptResult = result;
  g_promptLine1.clear();
  g_promptLine2.clear();
  g_promptLine3.clear();
  prompt_window::window->Destroy();
}

}  // namespace

const fw::WindowDef& PromptWindowForm() {
  static const fw::WindowDef form = BuildPromptWindowForm();
  return form;
}

int ShowPromptBox(std::string_view line1, std::string_view line2, std::string_view line3,
                  bool twoButtons) {
  fw::Window& prompt = *prompt_window::window;
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

  // Centred on MainWindow (on the screen while it is not loaded), computed
  // in floating point and truncated toward zero.
  double centreX = main.IsLoaded() ? main.Left() + main.Width() / 2.0 : fw::ScreenWidth() / 2.0;
  double centreY = main.IsLoaded() ? main.Top() + main.Height() / 2.0 : fw::ScreenHeight() / 2.0;
  prompt.SetGeometry({static_cast<int>(centreX - kPromptWidth / 2.0),
                      static_cast<int>(centreY - 60.0), kPromptWidth, kPromptHeight});

  第一行->SetText(g_promptLine1);
  第二行->SetText(g_promptLine2);
  第三行->SetText(g_promptLine3);

  bool two = g_promptButtonMode == 2;
  确定按钮1->SetVisible(two);
  取消按钮->SetVisible(two);
  确定按钮2->SetVisible(!two);

  prompt.SetVisible(true);
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

}  // namespace app
