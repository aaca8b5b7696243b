// Fuzz target over the whole program, headless: each input is pasted into
// 编辑框1 as the user does, then read; each data set the read offers is
// chosen, paged forward, back and to a level, its static copy switched and
// every mode clicked; the skill is released and the box read again. Every
// prompt is answered with OK once it stands open, as the user answers it.
// The program must end through 关闭按钮 with code 0: a fatal end (a crash
// reported by the framework, an index outside a text array) or a stall (a
// loop waiting for something that never comes) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/program.h"
#include "app/prompt.h"
#include "app/testing/prompts.h"
#include "app/units.h"
#include "framework/headless.h"
#include "framework/runtime.h"
#include "framework/units.h"
#include "platform/gbk.h"

namespace {

constexpr std::string_view kMain = "MainWindow";

// The time the prompt box takes to unroll to its full width.
constexpr int kPromptOpensMs =
    (app::kPromptWidth / app::kPromptAnimStep + 1) * app::kPromptAnimPeriodMs;

// Answers for the next prompts, more than any one action asks for (answers
// left over are never used): each prompt is answered with OK once it has
// unrolled. A prompt that follows at once then takes over the figure of
// the one before, which is still there, instead of drawing it anew.
void ArmAnswers(fw::Headless& h, app::testing::Prompts& prompts) {
  for (int i = 0; i < 8; ++i) prompts.During([&h] { h.Advance(kPromptOpensMs); });
}

// The user's part of one run. Before each action answers are armed.
void Act(fw::Headless& h, app::testing::Prompts& prompts, std::string_view input) {
  auto click = [&](std::string_view unit) {
    ArmAnswers(h, prompts);
    h.Click(kMain, unit);
  };
  h.MouseDown(kMain, "编辑框1", fw::MouseButton::Left);  // the hint goes
  h.Type(kMain, "编辑框1", input);
  click("读取按钮");
  for (const char* radio : {"刷图单选框", "PK单选框", "通用单选框"}) {
    if (fw::Get<fw::Radio>(kMain, radio).Disabled()) continue;
    click(radio);
    for (const char* unit :
         {"下一页按钮", "下一页按钮", "上一页按钮", "跳转按钮", "变换按钮", "变换按钮"}) {
      click(unit);
    }
    ArmAnswers(h, prompts);
    h.Type(kMain, "页数编辑框", "2");
    click("跳转按钮");
    for (const char* mode : {"增加单选框", "倍率单选框", "递增单选框", "赋值单选框"}) click(mode);
  }
  // Release (when held) and read the same text again.
  if (fw::GetControl(kMain, "读取按钮").Text() == platform::Gbk("释放数据")) click("读取按钮");
  click("读取按钮");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  fw::Headless h;
  h.SetStallAfter(2000);
  app::testing::Prompts prompts(h);
  h.Then([&] {
    Act(h, prompts, input);
    ArmAnswers(h, prompts);  // the pasted text is unsaved work: closing asks
    h.Click(kMain, "关闭按钮");
  });
  const fw::ProgramEnded end = h.Run(&app::ProgramStart);
  if (end.fatal || end.code != 0) {
    std::fprintf(stderr, "the program ended %s with code %d: %s\n",
                 end.fatal ? "in a fatal error" : "otherwise", end.code, end.fatalMessage.c_str());
    std::abort();
  }
  return 0;
}
