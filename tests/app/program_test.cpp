// Program start, the program-wide state, and the one road out.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/delay.h"
#include "app/globals.h"
#include "app/prompt.h"
#include "app/units.h"
#include "engine/header_fields.h"
#include "framework/runtime.h"
#include "platform/gbk.h"
#include "platform/thread.h"
#include "program_fixture.h"
#include "skin/gdiplus.h"
#include "skin/png_skin.h"

namespace app_test {
namespace {

using namespace app;

// Each kind of program-wide variable as an earlier run in the same process
// may leave it: never at its start value. A variable of a type not here
// yet stops the build until it has its own.
void Spoil(std::string& text) {
  text = "left over";
}
void Spoil(std::int32_t& number) {
  number = 7;
}
void Spoil(bool& flag) {
  flag = true;
}
void Spoil(fw::TextArray& array) {
  array.Append("left over");
}
// A remembered choice (form, data set, mode): one of its values, where a
// fresh start has none.
template <typename Enum>
void Spoil(std::optional<Enum>& choice) {
  choice = Enum{};
}
void Spoil(HeaderSpans& spans) {
  spans.first[0] = {3, 4};
  spans.arena[kHeaderFieldCount - 1] = {5, 6};
}
// A frame the skinned-window module kept: a real one, which its reset must
// give back.
void Spoil(skin::gdip::Image*& frame) {
  std::uint32_t token = 0;
  skin::gdip::Startup(&token);  // started once per process and never shut down
  skin::gdip::CreateBitmapFromScan0(1, 1, 0, skin::gdip::kPixelFormat32bppArgb, &frame);
}
// A loader that runs until it is asked to stop.
void Spoil(platform::Thread& loader) {
  loader.Start([](std::stop_token stop) {
    while (!stop.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  });
}

// Spoils every variable of the table.
void SpoilEveryVariable() {
#define APP_VARIABLE(type, name, start) \
  Spoil(name);                          \
  EXPECT_NE(name, start) << #name;
#define APP_SKIN_VARIABLE(type, name, start) \
  Spoil(name);                               \
  EXPECT_NE(name, start) << #name;
#define APP_LOADER_THREAD(name) \
  Spoil(name);                  \
  EXPECT_TRUE(name.Running()) << #name;
#include "app/globals.def"
}

// The two of the skinned-window module that its start-up fills, after the
// reset gave them their start values.
bool FilledByTheModulesStart(const void* variable) {
  return variable == &g_gdiplusToken || variable == &g_frameDimensionTime;
}

// The decoration window's skin, made at start: there, attached to no
// window yet.
void ExpectMadeAfresh(const std::unique_ptr<skin::PngSkin>& skin, const char* name) {
  ASSERT_NE(skin, nullptr) << name;
  EXPECT_EQ(skin->GetHandle(), 0) << name;
}

// The texts and text arrays, which own what the exit routine gives back:
// each holds something before the exit and nothing after it.
void HoldSomething(std::string& text) {
  Spoil(text);
}
void HoldSomething(fw::TextArray& array) {
  Spoil(array);
}
template <typename OwningNothing>
void HoldSomething(OwningNothing&) {}
void ExpectReleased(const std::string& text, const char* name) {
  EXPECT_EQ(text, "") << name;
}
void ExpectReleased(const fw::TextArray& array, const char* name) {
  EXPECT_EQ(array.Size(), 0) << name;
}
template <typename OwningNothing>
void ExpectReleased(const OwningNothing&, const char*) {}

// A second start in the same process, after a run that left every variable
// spoilt, begins as the first did: every variable of the table at its
// start value.
TEST_F(ProgramTest, EveryProgramWideVariableStartsEmptyOrZero) {
  SpoilEveryVariable();
  RunProgram([&] {
#define APP_VARIABLE(type, name, start) EXPECT_EQ(name, start) << #name;
#define APP_SKIN_VARIABLE(type, name, start) \
  if (!FilledByTheModulesStart(&name)) {     \
    EXPECT_EQ(name, start) << #name;         \
  }
#define APP_LOADER_THREAD(name) EXPECT_FALSE(name.Running()) << #name;
#define APP_OBJECT(type, name, start) ExpectMadeAfresh(name, #name);
#include "app/globals.def"
    // The skinned-window module's start-up filled its two, after the zero
    // start values.
    EXPECT_NE(g_gdiplusToken, 0);
    EXPECT_EQ(g_frameDimensionTime, std::string("\x6D\xBD\xED\x6A\xB5\x3F\x8A\x41\x83\xA6"
                                                "\x7F\x45\x22\x9D\xC8\x72",
                                                16));
  });
}

TEST(ClassFolders, AreTheElevenFoldersInTheirFixedOrder) {
  std::vector<std::string> names;
  for (const ClassFolder& c : ClassFolders()) names.push_back(c.folder);
  EXPECT_EQ(names, (std::vector<std::string>{"atfighter", "atgunner", "atmage", "creatormage",
                                             "demonicswordman", "fighter", "gunner", "mage",
                                             "priest", "swordman", "thief"}));
  EXPECT_EQ(ClassFolders()[0].paths, &g_atfighterPaths);
  EXPECT_EQ(ClassFolders()[10].loader, &g_thiefLoaderThread);
}

TEST(ProgramStart, AStartWindowThatCannotBeBuiltIsTheFatalReport) {
  fw::Headless h;
  h.FailNextLoad(kMainWindow);
  fw::ProgramEnded end = h.Run(&ProgramStart);
  EXPECT_TRUE(end.fatal);
  EXPECT_EQ(end.code, 1);
  EXPECT_EQ(Utf8(end.fatalMessage), "载入启动窗口失败");
  EXPECT_EQ(h.ExitRoutineRuns(), 0);
}

// Every road out of the program: exit code 0, the exit routine once, loader
// threads stopped and joined before the arrays they read are released, and
// every text and array released.
struct ExitRoad {
  const char* name;
  std::function<void(fw::Headless&, app::testing::Prompts&)> leave;
  friend void PrintTo(const ExitRoad& road, std::ostream* os) { *os << road.name; }
};

class ExitRoadTest : public ProgramTest, public ::testing::WithParamInterface<ExitRoad> {};

TEST_P(ExitRoadTest, EndsWithCodeZeroAfterTheExitRoutineRanOnce) {
  std::atomic<int> tableSizeSeenAtStop{-1};
  bool pastTheExit = false;
  h.Then([&] {
#define APP_VARIABLE(type, name, start) HoldSomething(name);
#define APP_SKIN_VARIABLE(type, name, start) HoldSomething(name);
#include "app/globals.def"
    g_skillNameTable.Append("<a_name>A");
    // A loader that reads the name table until it is asked to stop.
    ASSERT_TRUE(g_atfighterLoaderThread.Start([&](std::stop_token stop) {
      while (!stop.stop_requested()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      tableSizeSeenAtStop = g_skillNameTable.Size();
    }));
    GetParam().leave(h, prompts);
    pastTheExit = true;
  });

  fw::ProgramEnded end = h.Run(&ProgramStart);

  EXPECT_FALSE(end.fatal) << Utf8(end.fatalMessage);
  EXPECT_EQ(end.code, 0);
  EXPECT_EQ(h.ExitRoutineRuns(), 1);
  EXPECT_FALSE(pastTheExit);
  EXPECT_FALSE(g_atfighterLoaderThread.Running());
  EXPECT_EQ(tableSizeSeenAtStop, 2);
#define APP_VARIABLE(type, name, start) ExpectReleased(name, #name);
#define APP_SKIN_VARIABLE(type, name, start) ExpectReleased(name, #name);
#define APP_OBJECT(type, name, start) EXPECT_EQ(name, nullptr) << #name;
#include "app/globals.def"
}

INSTANTIATE_TEST_SUITE_P(
    Program, ExitRoadTest,
    ::testing::Values(ExitRoad{"CloseButton",
                               [](fw::Headless& h, app::testing::Prompts&) {
                                 h.Click(kMainWindow, "关闭按钮");
                               }},
                      ExitRoad{"SystemClose", [](fw::Headless& h,
                                                 app::testing::Prompts&) { h.Close(kMainWindow); }},
                      // A handler that ends the program while a prompt box waits.
                      ExitRoad{"FromInsideAPrompt",
                               [](fw::Headless&, app::testing::Prompts& prompts) {
                                 prompts.During([] { OnCloseButtonClicked(); });
                                 ShowPromptBox({}, platform::Gbk("提示"), {}, false);
                               }},
                      // A handler that ends the program while it waits in a delay.
                      ExitRoad{"FromInsideADelay",
                               [](fw::Headless& h, app::testing::Prompts&) {
                                 h.Then([] { OnCloseButtonClicked(); }, 50);
                                 DelayWithMessages(1000);
                               }}),
    [](const ::testing::TestParamInfo<ExitRoad>& road) { return std::string(road.param.name); });

TEST_F(ProgramTest, TheCloseButtonIsBoundToTheExitRoad) {
  fw::ProgramEnded end = RunProgram([] {});
  EXPECT_FALSE(end.fatal) << Utf8(end.fatalMessage);
  EXPECT_EQ(end.code, 0);
  EXPECT_EQ(h.ExitRoutineRuns(), 1);
}

TEST(DelayWithMessages, WaitsTheAmountInItsUnitAndNoLess) {
  struct Case {
    std::int64_t amount;
    int unit;
    std::int64_t ms;
  };
  for (const Case& c : {Case{0, 0, 0}, Case{250, 0, 250}, Case{2, 1, 2'000}, Case{3, 2, 180'000},
                        Case{1, 3, 3'600'000}}) {
    fw::Headless h;
    std::int64_t waited = -1;
    h.Run([&] {
      std::int64_t start = h.NowMs();
      EXPECT_TRUE(DelayWithMessages(c.amount, c.unit));
      waited = h.NowMs() - start;
      return 0;
    });
    EXPECT_EQ(waited, c.ms) << c.amount << " in unit " << c.unit;
  }
}

}  // namespace
}  // namespace app_test
