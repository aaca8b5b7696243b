#include "app/testing/prompts.h"

#include <utility>

#include "app/units.h"
#include "platform/codepage.h"

namespace app::testing {

struct Prompts::State {
  std::vector<ShownPrompt> shown;
  int armed = 0;
};

Prompts::Prompts(fw::Headless& headless)
    : headless_(&headless), state_(std::make_shared<State>()) {}

Prompts& Prompts::Answer(std::initializer_list<int> answers) {
  for (int answer : answers) Arm(nullptr, answer);
  return *this;
}

Prompts& Prompts::Ok(int count) {
  for (int i = 0; i < count; ++i) Arm(nullptr, 1);
  return *this;
}

Prompts& Prompts::Cancel(int count) {
  for (int i = 0; i < count; ++i) Arm(nullptr, 0);
  return *this;
}

Prompts& Prompts::During(std::function<void()> action, int answer) {
  Arm(std::move(action), answer);
  return *this;
}

const std::vector<ShownPrompt>& Prompts::Shown() const {
  return state_->shown;
}

std::vector<std::string> Prompts::Messages() const {
  std::vector<std::string> messages;
  for (const ShownPrompt& p : state_->shown) messages.push_back(p.lines[1]);
  return messages;
}

int Prompts::Unused() const {
  return state_->armed;
}

void Prompts::Arm(std::function<void()> action, int answer) {
  ++state_->armed;
  fw::Headless* h = headless_;
  std::shared_ptr<State> state = state_;
  h->OnNextModal(kPromptWindow, [h, state, action = std::move(action), answer] {
    --state->armed;
    using namespace prompt_window;
    ShownPrompt p;
    const fw::Ref<fw::Label> lines[] = {第一行, 第二行, 第三行};
    for (int i = 0; i < 3; ++i) {
      p.gbk[i] = lines[i]->Text();
      p.lines[i] = platform::GbkToUtf8(p.gbk[i]);
    }
    bool ok1 = 确定按钮1->Visible();
    bool cancel = 取消按钮->Visible();
    bool ok2 = 确定按钮2->Visible();
    if (ok2 && !ok1 && !cancel) p.buttonMode = 1;
    if (ok1 && cancel && !ok2) p.buttonMode = 2;

    // The record goes in before the action, which may end the program.
    state->shown.push_back(p);
    std::size_t index = state->shown.size() - 1;
    if (action) action();
    if (!window->IsLoaded()) return;

    bool pressCancel = answer == 0 && cancel;
    state->shown[index].answer = pressCancel ? 0 : 1;
    h->Click(kPromptWindow, pressCancel ? "取消按钮" : (ok2 ? "确定按钮2" : "确定按钮1"));
  });
}

}  // namespace app::testing
