// What a window offers besides its units: program timers, properties,
// per-pixel-alpha frames, keys, and following the window system.
#include <gtest/gtest.h>

#include <any>
#include <memory>
#include <string>
#include <vector>

#include "framework/input.h"
#include "test_forms.h"

namespace fwtest {
namespace {

namespace tw = test_window;

// ---- Program timers ---------------------------------------------------------

TEST(ProgramTimers, TickInDueOrderWithTimerUnitsAndStopWithTheWindow) {
  Env env;
  std::vector<std::string> ticks;
  Hooks()["Tick 时钟"] = [&] { ticks.push_back("unit@" + std::to_string(env.h.NowMs())); };
  env.Run([&] {
    tw::timer->SetPeriod(15);
    tw::window->StartTimer(64, 10, [&] { ticks.push_back("64@" + std::to_string(env.h.NowMs())); });
    tw::window->StartTimer(7, 25, [&] {
      ticks.push_back("7@" + std::to_string(env.h.NowMs()));
      tw::window->StopTimer(7);  // a tick may stop its own timer
    });
    EXPECT_TRUE(tw::window->TimerRunning(64));
    fw::DelayWithMessages(31);
    EXPECT_FALSE(tw::window->TimerRunning(7));
    tw::window->Destroy();
    EXPECT_FALSE(tw::window->TimerRunning(64));
    fw::DelayWithMessages(50);
    return 0;
  });
  // At the same time a window's timer units come before its program timers.
  EXPECT_EQ(ticks,
            (std::vector<std::string>{"64@10", "unit@15", "64@20", "7@25", "unit@30", "64@30"}));
}

TEST(ProgramTimers, NotReenteredWhileTheirTickWaitsAndRestartable) {
  Env env;
  std::vector<std::int64_t> ticks;
  env.Run([&] {
    tw::window->StartTimer(1, 10, [&] {
      ticks.push_back(env.h.NowMs());
      if (ticks.size() == 1) fw::DelayWithMessages(35);
      if (ticks.size() == 2) {
        // Restarting from inside its own tick: a new timer with a new period.
        tw::window->StartTimer(1, 100, [&] { ticks.push_back(1000 + env.h.NowMs()); });
      }
    });
    fw::DelayWithMessages(200);
    tw::window->StartTimer(1, 0, [] {});  // a period of 0 stops it
    EXPECT_FALSE(tw::window->TimerRunning(1));
    return 0;
  });
  EXPECT_EQ(ticks, (std::vector<std::int64_t>{10, 45, 1145}));
}

TEST(ProgramTimers, ATickThatDestroysItsWindowEndsCleanly) {
  Env env;
  int ticks = 0;
  env.Run([&] {
    tw::window->StartTimer(3, 10, [&] {
      ++ticks;
      tw::window->Destroy();
    });
    fw::DelayWithMessages(50);
    return 0;
  });
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(tw::window->IsLoaded());
}

// ---- Properties ---------------------------------------------------------------

TEST(Properties, LastUntilTheWindowIsDestroyedWhichReleasesThem) {
  Env env;
  auto owned = std::make_shared<int>(5);
  std::weak_ptr<int> watch = owned;
  tw::window->SetProperty("Image", std::move(owned));
  tw::button->SetProperty("Type", 3);
  tw::button->SetProperty("Type", 4);  // replaces
  ASSERT_NE(tw::window->Property("Image"), nullptr);
  EXPECT_EQ(std::any_cast<int>(*tw::button->Property("Type")), 4);
  EXPECT_EQ(tw::window->Property("Absent"), nullptr);
  tw::button->RemoveProperty("Type");
  EXPECT_EQ(tw::button->Property("Type"), nullptr);
  tw::button->SetProperty("Type", 2);

  tw::window->Destroy();
  EXPECT_TRUE(watch.expired());
  EXPECT_EQ(tw::button->Property("Type"), nullptr);
  // A window that is not loaded keeps nothing.
  tw::window->SetProperty("Image", 1);
  EXPECT_EQ(tw::window->Property("Image"), nullptr);
  tw::window->Load();
  EXPECT_EQ(tw::window->Property("Image"), nullptr);
}

// ---- Layered frames -----------------------------------------------------------

fw::Frame TwoPixels(std::uint32_t left, std::uint32_t right) {
  return {
      2, 1,
      std::make_shared<const std::vector<std::uint32_t>>(std::vector<std::uint32_t>{left, right})};
}

TEST(LayeredFrames, AWindowBecomesLayeredAtRunTimeAndShowsTheLastFrame) {
  Env env;
  EXPECT_FALSE(tw::window->Layered());
  tw::window->PresentLayered(TwoPixels(0x80FF0000u, 0x00000000u));
  tw::window->PresentLayered(TwoPixels(0xFF00FF00u, 0x00000000u));
  EXPECT_TRUE(tw::window->Layered());
  EXPECT_EQ(tw::window->LayeredFrame().At(0, 0), 0xFF00FF00u);
  EXPECT_EQ(tw::window->LayeredFrame().At(1, 0), 0u);
  EXPECT_EQ(tw::window->LayeredFrame().At(5, 5), 0u);  // outside: transparent
  // Presenting neither moves nor resizes the window.
  EXPECT_EQ(tw::window->Geometry(), (fw::Rect{10, 20, 400, 300}));
  EXPECT_EQ(env.h.Log(),
            (std::vector<std::string>{"present TestWindow 2x1", "present TestWindow 2x1"}));
  tw::window->Destroy();
  EXPECT_FALSE(tw::window->Layered());
  EXPECT_TRUE(tw::window->LayeredFrame().Empty());
}

// ---- Keys ---------------------------------------------------------------------

fw::WindowDef KeyForm() {
  return fw::WindowDef("KeyWindow", "键", 200, 100)
      .Units({
          fw::ButtonUnit("确定1", {1, 1, 50, 20}, "确定"),
          fw::ButtonUnit("确定2", {60, 1, 50, 20}, "确定").Hidden(),
          fw::ButtonUnit("取消", {120, 1, 50, 20}, "取消"),
      })
      .Bind({
          {"确定1", fw::Event::Clicked, &On<"Clicked 确定1">},
          {"确定2", fw::Event::Clicked, &On<"Clicked 确定2">},
          {"取消", fw::Event::Clicked, &On<"Clicked 取消">},
      })
      .EnterPresses({"确定1", "确定2"})
      .EscapePresses({"取消", "确定2"});
}

TEST(Keys, PressTheFirstReachableUnitOfTheirList) {
  Env env;
  fw::Window& w = fw::RegisterForm(KeyForm());
  w.Load();
  using fw::input::Key;
  EXPECT_TRUE(env.h.PressKey("KeyWindow", Key::Enter));
  EXPECT_TRUE(env.h.PressKey("KeyWindow", Key::Escape));
  w.Find("确定1")->SetVisible(false);
  w.Find("确定2")->SetVisible(true);
  w.Find("取消")->SetDisabled(true);
  EXPECT_TRUE(env.h.PressKey("KeyWindow", Key::Enter));
  EXPECT_TRUE(env.h.PressKey("KeyWindow", Key::Escape));
  w.Find("确定2")->SetVisible(false);
  EXPECT_FALSE(env.h.PressKey("KeyWindow", Key::Escape));  // nothing reachable
  EXPECT_FALSE(env.h.PressKey("TestWindow", Key::Enter));  // no keys in its form
  EXPECT_EQ(Events(), (std::vector<std::string>{"Clicked 确定1", "Clicked 取消", "Clicked 确定2",
                                                "Clicked 确定2"}));
}

// ---- Raw input ------------------------------------------------------------------

TEST(RawInput, GoesToTheHookWhileTheWindowTakesInput) {
  Env env;
  std::vector<std::string> seen;
  EXPECT_FALSE(env.h.Raw("TestWindow", {}));  // no hook
  tw::window->SetRawInputHook([&](const fw::RawInput& in) {
    seen.push_back(std::to_string(static_cast<int>(in.kind)) + "@" + std::to_string(in.x) + "," +
                   std::to_string(in.y) + in.text);
  });
  fw::RawInput move;
  move.x = 3;
  move.y = 4;
  EXPECT_TRUE(env.h.Raw("TestWindow", move));
  fw::RawInput typed;
  typed.kind = fw::RawInput::Kind::Character;
  typed.text = "a";
  EXPECT_TRUE(env.h.Raw("TestWindow", typed));
  EXPECT_EQ(seen, (std::vector<std::string>{"0@3,4", "5@0,0a"}));
  // A modal window with this one as its owner blocks it.
  env.h.OnNextModal("ModalWindow", [&] {
    EXPECT_FALSE(env.h.Raw("TestWindow", move));
    fw::GetWindow("ModalWindow").Destroy();
  });
  env.Run([&] {
    fw::GetWindow("ModalWindow").Load(ModalLoad(&*tw::window));
    return 0;
  });
  tw::window->Destroy();
  tw::window->Load();
  EXPECT_FALSE(tw::window->HasRawInputHook());
  EXPECT_EQ(seen.size(), 2u);
}

// ---- Unit changes ----------------------------------------------------------------

// The hook learns what the program changed, once the backend holds it, and
// only while the window instance that set it lives.
TEST(UnitChanges, ReachTheHookUntilTheWindowIsDestroyed) {
  Env env;
  std::vector<std::string> seen;
  tw::window->SetUnitChangeHook([&](fw::Control& unit, fw::Prop what) {
    seen.push_back(unit.name() + " " + std::to_string(static_cast<int>(what)) + " " +
                   (unit.Disabled() ? "disabled" : "enabled"));
  });
  tw::button->Disable();
  tw::button->Disable();  // no change
  tw::edit->SetVisible(false);
  tw::button->Enable();
  EXPECT_EQ(seen,
            (std::vector<std::string>{
                "按钮 " + std::to_string(static_cast<int>(fw::Prop::Disabled)) + " disabled",
                "编辑框 " + std::to_string(static_cast<int>(fw::Prop::Visible)) + " enabled",
                "按钮 " + std::to_string(static_cast<int>(fw::Prop::Disabled)) + " enabled"}));
  tw::window->Destroy();
  tw::window->Load();
  tw::button->Disable();
  EXPECT_EQ(seen.size(), 3u);
}

// ---- The window system ---------------------------------------------------------

TEST(WindowSystem, ModelFollowsMovesAndResizesMovedOnlyForMoves) {
  Env env;
  EXPECT_TRUE(env.h.Place("TestWindow", {50, 60, 400, 300}));
  EXPECT_TRUE(env.h.Place("TestWindow", {50, 60, 420, 310}));
  EXPECT_EQ(tw::window->Geometry(), (fw::Rect{50, 60, 420, 310}));
  EXPECT_EQ(Events(), (std::vector<std::string>{"Moved"}));
  tw::window->BeginUserMove();
  EXPECT_EQ(env.h.Log().back(), "system move TestWindow");
  tw::window->Destroy();
  EXPECT_FALSE(env.h.Place("TestWindow", {1, 1, 1, 1}));
}

}  // namespace
}  // namespace fwtest
