// Program start, the program-wide state, and the one road out.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/delay.h"
#include "app/globals.h"
#include "app/prompt.h"
#include "app/units.h"
#include "framework/runtime.h"
#include "platform/gbk.h"
#include "program_fixture.h"

namespace app_test {
namespace {

using namespace app;

std::vector<std::string*> AllTexts() {
  return {&g_promptLine1,           &g_promptLine2,       &g_promptLine3,
          &g_scriptFormat,          &g_readType,          &g_scriptText,
          &g_levelInfoText,         &g_staticDataText,    &g_modifyMode,
          &g_hdrRequiredLevelRange, &g_hdrMaximumLevel,   &g_hdrPurchaseCost,
          &g_hdrStartCoolTime1,     &g_hdrStartCoolTime2, &g_hdrCoolTime1,
          &g_hdrCoolTime2,          &g_hdrPvpCoolTime1,   &g_hdrPvpCoolTime2,
          &g_hdrCastingTime1,       &g_hdrCastingTime2,   &g_hdrPvpCastingTime1,
          &g_hdrPvpCastingTime2,    &g_hdrRequiredLevel,  &g_hdrConsumeMp1,
          &g_hdrConsumeMp2,         &g_hdrConsumeItem,    &g_hdrConsumeItemCount1,
          &g_hdrConsumeItemCount2,  &g_droppedFilePath,   &g_scriptFilePath,
          &g_levelRangeList};
}

std::vector<fw::TextArray*> AllArrays() {
  return {&g_levelRows,        &g_levelValues,    &g_placeholderMap, &g_masteryValues,
          &g_creatormagePaths, &g_gunnerPaths,    &g_priestPaths,    &g_atmagePaths,
          &g_atfighterPaths,   &g_skillNameTable, &g_atgunnerPaths,  &g_demonicswordmanPaths,
          &g_fighterPaths,     &g_magePaths,      &g_swordmanPaths,  &g_thiefPaths};
}

std::vector<std::int32_t*> AllNumbers() {
  return {&g_promptResult,     &g_promptButtonMode,   &g_valuesPerLevel,  &g_levelCount,
          &g_currentLevel,     &g_levelRangeLow,      &g_levelRangeHigh,  &g_promptAnimWidth,
          &g_maleSearchResume, &g_femaleSearchResume, &g_skinCaretWindow, &g_skinFocusedEdit,
          &g_levelInfoStart,   &g_levelInfoLength};
}

std::vector<bool*> AllFlags() {
  return {&g_hasStaticData,      &g_staticDataSplit,   &g_staticDataShown,
          &g_hasLevelData,       &g_reportMissingData, &g_hasSecondGrowtype,
          &g_classChoicePending, &g_skillListReady,    &g_skinCaretVisible};
}

// What an earlier run may have left behind.
void Dirty() {
  for (std::string* t : AllTexts()) *t = "left over";
  for (fw::TextArray* a : AllArrays()) a->Append("left over");
  for (std::int32_t* n : AllNumbers()) *n = 7;
  for (bool* f : AllFlags()) *f = true;
}

TEST_F(ProgramTest, EveryProgramWideVariableStartsEmptyOrZero) {
  Dirty();
  RunProgram([&] {
    for (std::string* t : AllTexts()) EXPECT_EQ(*t, "");
    for (fw::TextArray* a : AllArrays()) EXPECT_EQ(a->Size(), 0);
    for (std::int32_t* n : AllNumbers()) EXPECT_EQ(*n, 0);
    for (bool* f : AllFlags()) EXPECT_FALSE(*f);
    for (const ClassFolder& c : ClassFolders()) EXPECT_FALSE(c.loader->Running()) << c.folder;
    // The skinned-window module's start-up filled its two, after the zero
    // start values; its skin object exists, attached to no window yet.
    EXPECT_NE(g_gdiplusToken, 0);
    EXPECT_EQ(g_frameDimensionTime, std::string("\x6D\xBD\xED\x6A\xB5\x3F\x8A\x41\x83\xA6"
                                                "\x7F\x45\x22\x9D\xC8\x72",
                                                16));
    EXPECT_EQ(g_skinFrameImage, nullptr);
    ASSERT_NE(g_backdropSkin, nullptr);
    EXPECT_EQ(g_backdropSkin->GetHandle(), 0);
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
    for (std::string* t : AllTexts()) *t = "held";
    for (fw::TextArray* a : AllArrays()) a->Append("held");
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
  for (std::string* t : AllTexts()) EXPECT_EQ(*t, "");
  for (fw::TextArray* a : AllArrays()) EXPECT_EQ(a->Size(), 0);
  EXPECT_EQ(g_frameDimensionTime, "");
  EXPECT_EQ(g_backdropSkin, nullptr);
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
