// The loop and its nested forms: delays, modal loads, timers, posted work,
// the exit road and fatal errors.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "test_backend.h"
#include "test_forms.h"

namespace fwtest {
namespace {

namespace tw = test_window;
using Strings = std::vector<std::string>;

// ---- Delays -----------------------------------------------------------------

struct DelayCase {
  const char* name;
  std::int64_t outer;
  std::int64_t nestedAt;  // when a handler runs a nested delay; -1: none
  std::int64_t nested;
  std::int64_t end;  // clock when the outer delay returns
};

class Delays : public ::testing::TestWithParam<DelayCase> {};

TEST_P(Delays, EndAtTheirDeadlineOrWhenTheNestedHandlerReturns) {
  const DelayCase& c = GetParam();
  Env env;
  if (c.nestedAt >= 0) {
    Hooks()["Clicked 按钮"] = [&] { fw::DelayWithMessages(c.nested); };
    env.h.Then([&] { env.h.Click("TestWindow", "按钮"); }, c.nestedAt);
  }
  env.Run([&] {
    EXPECT_TRUE(fw::DelayWithMessages(c.outer));
    return 0;
  });
  EXPECT_EQ(env.h.NowMs(), c.end);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Delays,
    ::testing::Values(DelayCase{"Plain", 100, -1, 0, 100}, DelayCase{"Zero", 0, -1, 0, 0},
                      DelayCase{"Negative", -5, -1, 0, 0},
                      DelayCase{"ShorterNestedEndsFirst", 100, 30, 20, 100},
                      DelayCase{"LongerNestedKeepsOuterWaiting", 100, 30, 200, 230}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(DelayUnits, CountMillisecondsSecondsMinutesHours) {
  Env env;
  struct Case {
    std::int64_t amount;
    int unit;
    std::int64_t ms;
  };
  for (const Case& c :
       {Case{7, 0, 7}, Case{2, 1, 2000}, Case{3, 2, 180000}, Case{1, 3, 3600000}, Case{9, 42, 9},
        // A large negative amount waits nothing, not what its product wraps to.
        Case{-5'124'095'576'030'431, 3, 0}}) {
    const std::int64_t before = env.h.NowMs();
    fw::DelayWithMessages(c.amount, c.unit);
    EXPECT_EQ(env.h.NowMs() - before, c.ms) << c.amount << " in unit " << c.unit;
  }
}

TEST(NeverEarly, DelaysAndTicksHoldWhenTheBackendWakesEarly) {
  RecordingBackend backend(3);  // every wait returns after at most 3 ms
  fw::Runtime runtime(backend);
  Reset();
  fw::RegisterForm(TestForm());
  ASSERT_TRUE(tw::window->Load());
  std::vector<std::int64_t> ticks;
  Hooks()["Tick 时钟"] = [&] { ticks.push_back(backend.now); };
  tw::timer->SetPeriod(10);
  fw::DelayWithMessages(25);
  EXPECT_EQ(backend.now, 25);
  EXPECT_GT(backend.waits, 8);
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{10, 20}));
  Reset();
}

TEST(HoldingDelays, RefuseUserInputWhileTimersAndPostedWorkGoOn) {
  Env env;
  std::vector<std::int64_t> ticks;
  std::vector<bool> accepted;
  Hooks()["Tick 时钟"] = [&] { ticks.push_back(env.h.NowMs()); };
  env.h.Then([&] { accepted.push_back(env.h.Click("TestWindow", "按钮")); }, 40);
  env.h.Then([&] { accepted.push_back(env.h.Click("TestWindow", "按钮")); }, 100);
  env.Run([&] {
    tw::timer->SetPeriod(30);
    std::thread worker([] { fw::PostToGui([] { Events().push_back("posted"); }); });
    worker.join();
    EXPECT_TRUE(fw::DelayHoldingInput(100));
    EXPECT_FALSE(fw::InputHeld());
    fw::DelayWithMessages(50);
    return 0;
  });
  // The click during the hold was refused, the one after it reached the button.
  EXPECT_EQ(accepted, (std::vector<bool>{false, true}));
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{30, 60, 90, 120, 150}));
  EXPECT_EQ(std::count(Events().begin(), Events().end(), "posted"), 1);
  EXPECT_EQ(std::count(Events().begin(), Events().end(), "Clicked 按钮"), 1);
}

// ---- Timers -----------------------------------------------------------------

TEST(Timers, NotReenteredWhileTheirTickWaitsAndOwedTickComesOnce) {
  Env env;
  std::vector<std::int64_t> ticks;
  Hooks()["Tick 时钟"] = [&] {
    ticks.push_back(env.h.NowMs());
    if (ticks.size() == 1) fw::DelayWithMessages(35);
  };
  env.Run([&] {
    tw::timer->SetPeriod(10);
    fw::DelayWithMessages(60);
    return 0;
  });
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{10, 45, 55}));
}

TEST(Timers, SettingAPeriodRestartsTheCountAndZeroStops) {
  Env env;
  std::vector<std::int64_t> ticks;
  Hooks()["Tick 时钟"] = [&] { ticks.push_back(env.h.NowMs()); };
  env.Run([&] {
    tw::timer->SetPeriod(10);
    fw::DelayWithMessages(15);
    tw::timer->SetPeriod(10);  // restarts at 15
    fw::DelayWithMessages(20);
    tw::timer->SetPeriod(-3);
    EXPECT_EQ(tw::timer->Period(), 0);
    fw::DelayWithMessages(50);
    return 0;
  });
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{10, 25, 35}));
}

// ---- Nesting ----------------------------------------------------------------

// A worker posts one item while the GUI thread waits; the item and a timer
// of another window must both be served inside the wait.
class Nesting : public ::testing::Test {
 protected:
  void StartWorker() {
    worker_ = std::thread([] { fw::PostToGui([] { Events().push_back("posted"); }); });
  }
  void TearDown() override {
    if (worker_.joinable()) worker_.join();
  }
  bool Posted() const {
    return std::find(Events().begin(), Events().end(), "posted") != Events().end();
  }
  int Ticks() const {
    return static_cast<int>(std::count(Events().begin(), Events().end(), "Tick 时钟"));
  }
  Env env_;
  std::thread worker_;
};

TEST_F(Nesting, TimerAndPostedWorkServedInsideAModalLoad) {
  fw::Window& modal = fw::GetWindow("ModalWindow");
  Hooks()["Created ModalWindow"] = [&] {
    tw::timer->SetPeriod(10);
    StartWorker();
  };
  Hooks()["Tick 时钟"] = [&] {
    if (Ticks() >= 3 && Posted()) modal.Destroy();
  };
  env_.Run([&] {
    EXPECT_TRUE(modal.Load(ModalLoad(&tw::window.get())));
    Events().push_back("returned");
    return 0;
  });
  ASSERT_GE(Events().size(), 5u);
  EXPECT_EQ(Events().front(), "Created ModalWindow");
  EXPECT_TRUE(Posted());
  EXPECT_EQ(Events()[Events().size() - 2], "Destroying ModalWindow");
  EXPECT_EQ(Events().back(), "returned");
  EXPECT_EQ(env_.h.Log(), (Strings{"load ModalWindow modal owner=TestWindow", "show ModalWindow",
                                   "destroy ModalWindow"}));
}

TEST_F(Nesting, TimerAndPostedWorkServedInsideADelay) {
  Hooks()["Clicked 按钮"] = [&] {
    tw::timer->SetPeriod(10);
    StartWorker();
    worker_.join();  // the item is queued before the delay starts
    fw::DelayWithMessages(35);
    Events().push_back("delay over");
  };
  env_.Run([&] {
    EXPECT_TRUE(env_.h.Click("TestWindow", "按钮"));
    return 0;
  });
  EXPECT_EQ(Events(), (Strings{"Clicked 按钮", "posted", "Tick 时钟", "Tick 时钟", "Tick 时钟",
                               "delay over"}));
}

TEST_F(Nesting, ModalLoadReturnsAfterTheDestroyingHandlerReturned) {
  fw::Window& modal = fw::GetWindow("ModalWindow");
  Hooks()["Destroying ModalWindow"] = [] {
    fw::DelayWithMessages(20);
    Events().push_back("destroying done");
  };
  Hooks()["Clicked 确定"] = [&] { modal.Destroy(); };
  env_.h.OnNextModal("ModalWindow", [&] { env_.h.Click("ModalWindow", "确定"); });
  env_.Run([&] {
    modal.Load(ModalLoad(&tw::window.get()));
    Events().push_back("returned");
    return 0;
  });
  EXPECT_EQ(Events(), (Strings{"Created ModalWindow", "Clicked 确定", "Destroying ModalWindow",
                               "destroying done", "returned"}));
  EXPECT_EQ(env_.h.NowMs(), 20);
}

TEST_F(Nesting, CreatedThatDestroysItsModalWindowReturnsAtOnce) {
  fw::Window& modal = fw::GetWindow("ModalWindow");
  Hooks()["Created ModalWindow"] = [&] { modal.Destroy(); };
  env_.Run([&] {
    EXPECT_TRUE(modal.Load(ModalLoad()));
    return 0;
  });
  EXPECT_EQ(env_.h.Log(), (Strings{"load ModalWindow modal", "destroy ModalWindow"}));
}

// ---- Exit road ----------------------------------------------------------------

int g_exitRuns = 0;
void CountingExitRoutine() {
  ++g_exitRuns;
}
void ExitingExitRoutine() {
  ++g_exitRuns;
  fw::Exit(5);
}

TEST(ExitRoad, FromInsideNestedLoopsRunsTheRoutineOnceAndEndsWithTheCode) {
  Env env;
  g_exitRuns = 0;
  bool afterExit = false;
  fw::Window& modal = fw::GetWindow("ModalWindow");
  Hooks()["Clicked 按钮"] = [&] {
    modal.Load(ModalLoad(&tw::window.get()));
    afterExit = true;
  };
  env.h.OnNextModal("ModalWindow", [&] {
    tw::timer->SetPeriod(10);
    fw::DelayWithMessages(100);
    afterExit = true;
  });
  Hooks()["Tick 时钟"] = [&] {
    if (env.h.NowMs() >= 30) {
      fw::Exit(7);
      afterExit = true;
    }
  };
  env.h.Then([&] { env.h.Click("TestWindow", "按钮"); });
  const fw::ProgramEnded end = env.h.Run([] {
    fw::SetExitRoutine(&CountingExitRoutine);
    fw::Run();
    return 0;
  });
  EXPECT_EQ(end.code, 7);
  EXPECT_FALSE(end.fatal);
  EXPECT_EQ(g_exitRuns, 1);
  EXPECT_EQ(env.h.ExitRoutineRuns(), 1);
  EXPECT_TRUE(fw::Exiting());
  EXPECT_FALSE(afterExit);
  EXPECT_FALSE(tw::window->IsLoaded());
  EXPECT_FALSE(modal.IsLoaded());
  // Torn down without raising Destroying.
  EXPECT_EQ(std::count(Events().begin(), Events().end(), "Destroying"), 0);
  EXPECT_EQ(env.h.Log(), (Strings{"load ModalWindow modal owner=TestWindow", "show ModalWindow",
                                  "destroy TestWindow", "destroy ModalWindow"}));
}

TEST(ExitRoad, ExitInsideTheExitRoutineDoesNotRunItAgain) {
  Env env;
  g_exitRuns = 0;
  const fw::ProgramEnded end = env.h.Run([]() -> int {
    fw::SetExitRoutine(&ExitingExitRoutine);
    fw::Exit(0);
  });
  EXPECT_EQ(g_exitRuns, 1);
  EXPECT_EQ(end.code, 5);
}

TEST(ExitRoad, WorkPostedAfterExitStartedIsDropped) {
  Env env;
  static std::atomic<bool> ran{false};
  ran = false;
  fw::SetExitRoutine([] {
    fw::PostToGui([] { ran = true; });
    fw::ProcessPending();
  });
  env.Run([]() -> int { fw::Exit(0); });
  EXPECT_FALSE(ran);
}

TEST(ExitRoad, ClosingEveryWindowDoesNotEndTheLoop) {
  Env env;
  env.h.Then([&] { tw::window->Destroy(); });
  env.h.Then([] { fw::Exit(3); }, 1000);
  const fw::ProgramEnded end = env.h.Run([] {
    fw::Run();
    return 0;
  });
  EXPECT_EQ(end.code, 3);
  EXPECT_EQ(env.h.NowMs(), 1000);
}

TEST(ExitRoad, FatalEndsWithCodeOneWithoutTheExitRoutine) {
  Env env;
  g_exitRuns = 0;
  const fw::ProgramEnded end = env.h.Run([]() -> int {
    fw::SetExitRoutine(&CountingExitRoutine);
    fw::Fatal(Gbk("载入启动窗口失败"));
  });
  EXPECT_EQ(end.code, 1);
  EXPECT_TRUE(end.fatal);
  EXPECT_EQ(end.fatalMessage, Gbk("载入启动窗口失败"));
  EXPECT_EQ(g_exitRuns, 0);
  EXPECT_EQ(env.h.Log(), (Strings{"fatal 载入启动窗口失败", "destroy TestWindow"}));
}

TEST(ExitRoad, StalledProgramEndsAsFatal) {
  Env env;
  env.h.SetStallAfter(30);
  const fw::ProgramEnded end = env.h.Run([] {
    fw::Run();
    return 0;
  });
  EXPECT_TRUE(end.fatal);
  EXPECT_EQ(end.fatalMessage, "headless: stalled");
}

TEST(ExitRoad, StalledAlsoWhileOnlyTimersTick) {
  Env env;
  env.h.SetStallAfter(30);
  const fw::ProgramEnded end = env.h.Run([] {
    tw::timer->SetPeriod(10);
    fw::Run();
    return 0;
  });
  EXPECT_EQ(end.fatalMessage, "headless: stalled");
}

// ---- Posting from threads ---------------------------------------------------------

TEST(Posting, ItemsFromManyThreadsKeepTheOrderEachThreadPostedIn) {
  Env env;
  constexpr int kThreads = 4;
  constexpr int kItems = 300;
  std::vector<std::vector<int>> seen(kThreads);
  std::atomic<int> served{0};
  env.Run([&] {
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
      workers.emplace_back([&, t] {
        for (int i = 0; i < kItems; ++i) {
          auto work = [&, t, i] {
            seen[static_cast<std::size_t>(t)].push_back(i);
            ++served;
          };
          if (i % 2 == 0) {
            fw::PostToGui(work);
          } else {
            fw::PostToWindow("TestWindow", work);
          }
        }
      });
    }
    while (served < kThreads * kItems) fw::DelayWithMessages(1);
    for (auto& w : workers) w.join();
    return 0;
  });
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(seen[static_cast<std::size_t>(t)].size(), static_cast<std::size_t>(kItems));
    EXPECT_TRUE(std::is_sorted(seen[static_cast<std::size_t>(t)].begin(),
                               seen[static_cast<std::size_t>(t)].end()));
  }
}

TEST(Posting, ComboItemsFromAWorkerArriveInOrder) {
  Env env;
  env.Run([&] {
    std::thread worker([] {
      for (int i = 0; i < 50; ++i) fw::Combo::PostAddItem(tw::combo, std::to_string(i), i);
    });
    worker.join();
    fw::ProcessPending();
    return 0;
  });
  ASSERT_EQ(tw::combo->Count(), 50);
  for (int i = 0; i < 50; ++i) {
    EXPECT_EQ(tw::combo->ItemText(i), std::to_string(i));
    EXPECT_EQ(tw::combo->ItemData(i), i);
  }
}

TEST(Posting, WindowWorkIsDroppedOnceThatInstanceIsGone) {
  Env env;
  int ran = 0;
  env.Run([&] {
    fw::PostToWindow("TestWindow", [&] { ++ran; });
    tw::window->Destroy();
    fw::PostToWindow("TestWindow", [&] { ++ran; });  // not loaded: dropped at once
    tw::window->Load();
    fw::PostToWindow("NoSuchWindow", [&] { ++ran; });
    fw::ProcessPending();
    EXPECT_EQ(ran, 0);
    fw::PostToWindow("TestWindow", [&] { ++ran; });
    fw::ProcessPending();
    return 0;
  });
  EXPECT_EQ(ran, 1);
}

TEST(Posting, ProcessPendingServesWhatIsDueWithoutWaitingOrScriptedSteps) {
  Env env;
  int stepRan = 0;
  env.h.Then([&] { ++stepRan; });
  env.Run([&] {
    tw::timer->SetPeriod(10);
    fw::PostToGui([] { Events().push_back("posted"); });
    fw::ProcessPending();
    EXPECT_EQ(Events(), (Strings{"posted"}));
    EXPECT_EQ(env.h.NowMs(), 0);
    EXPECT_EQ(stepRan, 0);
    return 0;
  });
}

TEST(Posting, PostsAfterTheRuntimeIsGoneAreDropped) {
  { Env env; }
  fw::PostToGui([] { ADD_FAILURE() << "ran without a runtime"; });
  fw::PostToWindow("TestWindow", [] { ADD_FAILURE() << "ran without a runtime"; });
  EXPECT_FALSE(fw::OnGuiThread());
  fw::ProcessPending();
}

}  // namespace
}  // namespace fwtest
