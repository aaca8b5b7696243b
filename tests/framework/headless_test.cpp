// The headless backend: scripted steps and their timing, modal arms, the
// record, and the services it stands in for.
#include "framework/headless.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "test_forms.h"

namespace fwtest {
namespace {

namespace tw = test_window;
using Strings = std::vector<std::string>;

TEST(HeadlessSteps, EachIsDueAfterThePreviousOneReturned) {
  Env env;
  std::vector<std::int64_t> at;
  env.h.Then(
      [&] {
        at.push_back(env.h.NowMs());
        fw::DelayWithMessages(100);  // the next step does not run inside this
      },
      10);
  env.h.Then([&] { at.push_back(env.h.NowMs()); }, 5);
  env.h.Then([&] { fw::Exit(0); });
  EXPECT_EQ(env.h.PendingSteps(), 3u);
  env.Run([] {
    fw::Run();
    return 0;
  });
  EXPECT_EQ(at, (std::vector<std::int64_t>{10, 115}));
  EXPECT_EQ(env.h.PendingSteps(), 0u);
}

TEST(HeadlessSteps, AStepAddedToAnEmptyQueueRunsInsideTheRunningStep) {
  Env env;
  Strings order;
  env.h.Then([&] {
    env.h.Then([&] { order.push_back("inner"); }, 20);
    fw::DelayWithMessages(50);
    order.push_back("outer done");
  });
  env.Run([] {
    fw::DelayWithMessages(100);
    return 4;
  });
  EXPECT_EQ(order, (Strings{"inner", "outer done"}));
}

TEST(HeadlessSteps, ModalArmsAnswerModalLoadsInOrder) {
  Env env;
  fw::Window& modal = fw::GetWindow("ModalWindow");
  Strings answered;
  env.h.OnNextModal("ModalWindow", [&] {
    answered.push_back("first");
    modal.Destroy();
  });
  env.h.OnNextModal("ModalWindow", [&] {
    answered.push_back("second");
    modal.Destroy();
  });
  env.Run([&] {
    modal.Load();  // not modal: no arm is used
    modal.Destroy();
    modal.Load(ModalLoad());
    modal.Load(ModalLoad(&tw::window.get()));
    return 0;
  });
  EXPECT_EQ(answered, (Strings{"first", "second"}));
  EXPECT_EQ(env.h.LoadCount("ModalWindow"), 3);
  EXPECT_EQ(env.h.PendingSteps(), 0u);
}

TEST(HeadlessRecord, LogsLoadsShowsDestroysSoundsAndFatals) {
  Env env(false);
  fw::Window& modal = fw::GetWindow("ModalWindow");
  env.h.FailNextLoad("TestWindow");
  EXPECT_FALSE(tw::window->Load());
  EXPECT_FALSE(tw::window->IsLoaded());
  EXPECT_EQ(env.h.LoadCount("TestWindow"), 0);
  EXPECT_TRUE(tw::window->Load());
  tw::window->SetVisible(false);
  env.h.OnNextModal("ModalWindow", [&] { modal.Destroy(); });
  env.Run([&] {
    modal.Load(ModalLoad(&tw::window.get()));
    return 0;
  });
  static const std::uint8_t kNotAWave[] = {1, 2, 3};
  EXPECT_FALSE(fw::PlaySound(kNotAWave));
  const fw::ProgramEnded end = env.h.Run([]() -> int { fw::Fatal(Gbk("载入启动窗口失败")); });
  EXPECT_TRUE(end.fatal);
  EXPECT_EQ(env.h.Log(), (Strings{"load TestWindow", "show TestWindow", "hide TestWindow",
                                  "load ModalWindow modal owner=TestWindow", "show ModalWindow",
                                  "destroy ModalWindow", "sound 3 bytes", "fatal 载入启动窗口失败",
                                  "destroy TestWindow"}));
  ASSERT_EQ(env.h.Sounds().size(), 1u);
  EXPECT_EQ(env.h.Sounds()[0].data(), kNotAWave);
  env.h.ClearLog();
  EXPECT_TRUE(env.h.Log().empty());
}

TEST(HeadlessServices, ScreenClipboardFolderAndCentring) {
  Env env(false);
  env.h.SetScreenSize(1000, 700);
  EXPECT_EQ(fw::ScreenWidth(), 1000);
  fw::Window& modal = fw::GetWindow("ModalWindow");  // centred, 200 x 100
  ASSERT_TRUE(modal.Load());
  EXPECT_EQ(modal.Geometry(), (fw::Rect{400, 300, 200, 100}));

  fw::SetClipboardText(Gbk("剪贴板\r\n"));
  EXPECT_EQ(fw::ClipboardText(), Gbk("剪贴板\r\n"));

  EXPECT_FALSE(fw::ProgramFolder().empty());
  EXPECT_NE(fw::ProgramFolder().back(), '/');
  env.h.SetProgramFolder("/opt/editor");
  EXPECT_EQ(fw::ProgramFolder(), "/opt/editor");
}

TEST(HeadlessRun, ReturnsTheBodysResultWhenItReturns) {
  fw::Headless h;
  const fw::ProgramEnded end = h.Run([] { return 42; });
  EXPECT_EQ(end.code, 42);
  EXPECT_FALSE(end.fatal);
  EXPECT_EQ(h.ExitRoutineRuns(), 0);
}

}  // namespace
}  // namespace fwtest
