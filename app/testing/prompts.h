// Headless tests and the prompt box: script the answers of the next prompts
// and read back what each one showed.
//
//   fw::Headless h;
//   app::testing::Prompts prompts(h);
//   prompts.Ok();                       // the next prompt is answered with OK
//   h.Then([&] { h.Click("MainWindow", "复制按钮"); });
//   h.Then([&] { h.Click("MainWindow", "关闭按钮"); });
//   h.Run(&app::ProgramStart);
//   EXPECT_THAT(prompts.Messages(), ElementsAre("技能数据已复制！"));
//
// Each scripted answer is used by one prompt, in order. A prompt that finds
// no answer left waits for one that never comes, and the headless run ends
// as "headless: stalled", so an unexpected prompt fails the test.
#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "framework/headless.h"

namespace app::testing {

struct ShownPrompt {
  std::array<std::string, 3> lines;  // the three lines as shown, UTF-8
  std::array<std::string, 3> gbk;    // the same, as the labels hold them
  // 1: the one centred OK button; 2: OK and Cancel; 0: neither layout.
  int buttonMode = 0;
  int answer = -1;  // what the seam pressed: 1 OK, 0 Cancel
};

class Prompts {
 public:
  explicit Prompts(fw::Headless& headless);

  // The next prompts, in order, are answered: 1 presses OK, 0 Cancel. A
  // Cancel for a one-button prompt presses its only button, OK, and is
  // recorded as 1.
  Prompts& Answer(std::initializer_list<int> answers);
  Prompts& Ok(int count = 1);
  Prompts& Cancel(int count = 1);
  // The next prompt runs `action` while it is open (for example a close of
  // MainWindow), then, if it is still open, is answered with `answer`.
  Prompts& During(std::function<void()> action, int answer = 1);

  // Every prompt that used a scripted answer, in the order shown.
  const std::vector<ShownPrompt>& Shown() const;
  // The second line of each, UTF-8: the message of the usual prompt.
  std::vector<std::string> Messages() const;
  // Scripted answers that no prompt has used yet.
  int Unused() const;

 private:
  struct State;
  void Arm(std::function<void()> action, int answer);
  fw::Headless* headless_;
  std::shared_ptr<State> state_;
};

}  // namespace app::testing
