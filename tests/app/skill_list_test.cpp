// The skill-list window: opening and docking, the folder checks, the load
// driver with its busy animation and loader threads, and when the window
// may close. The loader tests also run under ThreadSanitizer.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/skill_list_window.h"
#include "app/units.h"
#include "framework/runtime.h"
#include "platform/gbk.h"
#include "skill_list_session.h"

namespace app_test {
namespace {

using namespace app;
using platform::Gbk;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
namespace list = skill_list_window;

// Classes by their place in the class-folder table.
constexpr int kMage = 7;
constexpr int kSwordman = 9;
constexpr int kThief = 10;

class SkillListTest : public SkillListSession {
 protected:
  // A loader that runs until the test lets it end (or it is asked to stop),
  // standing for a class whose folder takes long to read. The load driver
  // tests every class's loader, also one it did not start itself.
  void HoldPriestLoader() {
    release_ = false;
    ASSERT_TRUE(g_priestLoaderThread.Start([this](std::stop_token stop) {
      while (!release_ && !stop.stop_requested()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }));
  }
  void ReleasePriestLoader() {
    release_ = true;
    g_priestLoaderThread.Join();
  }
  std::atomic<bool> release_{false};
};

TEST_F(SkillListTest, OpensOnceDockedLeftOfTheEditorAndKeptOnTheScreen) {
  struct Case {
    int screenWidth;
    int editorLeft, editorTop;
    int left, top;  // where the list docks
    int editorLeftAfter;
  };
  // The window is 333 x 294, the editor 961 wide: side by side they need a
  // screen 1294 wide. The headless screen is 1080 high.
  const std::vector<Case> cases = {
      {1920, 500, 300, 167, 300, 500},
      {1920, 333, 0, 0, 0, 333},
      {1920, 800, 1000, 467, 786, 800},  // would stick out at the bottom
      // Would stick out on the left: the editor makes room where the
      // screen has it; else it moves as far right as the screen allows
      // and the list, kept on the screen, covers the rest of its left part
      // (on a 1280 screen 14 pixels of it).
      {1920, 100, 50, 0, 50, 333},
      {1920, -200, -40, 0, 0, 333},
      {1366, 202, 85, 0, 85, 333},
      {1294, 202, 85, 0, 85, 333},
      {1293, 166, 85, 0, 85, 332},
      {1280, 159, 85, 0, 85, 319},
      {1280, 93, 85, 0, 85, 319},
      {1024, -200, 85, 0, 85, 63},
      // An editor right of where it would go stays: it never moves left.
      {1280, 325, 85, 0, 85, 325},
      // A screen narrower than the editor: its right edge goes to the
      // screen's, unless it stands further right already.
      {900, -200, 85, 0, 85, -61},
      {900, 0, 85, 0, 85, 0},
  };
  Run([&] {
    for (const Case& c : cases) {
      h.SetScreenSize(c.screenWidth, 1080);
      ASSERT_TRUE(h.Drag(kMainWindow, c.editorLeft, c.editorTop));
      ASSERT_TRUE(OpenList());
      EXPECT_EQ(list::window->Geometry(), (fw::Rect{c.left, c.top, 333, 294}))
          << c.screenWidth << ": " << c.editorLeft << "," << c.editorTop;
      EXPECT_EQ(main_window::window->Left(), c.editorLeftAfter)
          << c.screenWidth << ": " << c.editorLeft << "," << c.editorTop;
      EXPECT_EQ(main_window::window->Top(), c.editorTop);
      EXPECT_TRUE(h.Click(kSkillListWindow, "关闭按钮"));
      EXPECT_FALSE(list::window->IsLoaded());
    }
    // Once docked, the list stays where it is when the user moves the
    // editor, over it or away from it.
    h.SetScreenSize(1366, 1080);
    ASSERT_TRUE(h.Drag(kMainWindow, 202, 85));
    ASSERT_TRUE(OpenList());
    for (int editorLeft : {100, 600}) {
      ASSERT_TRUE(h.Drag(kMainWindow, editorLeft, 85));
      EXPECT_EQ(main_window::window->Left(), editorLeft);
      EXPECT_EQ(list::window->Geometry(), (fw::Rect{0, 85, 333, 294}));
    }
    EXPECT_TRUE(h.Click(kSkillListWindow, "关闭按钮"));
    h.SetScreenSize(1920, 1080);
    // A second press while it is open opens no second window.
    const int loads = h.LoadCount(kSkillListWindow);
    ASSERT_TRUE(OpenList());
    ASSERT_TRUE(OpenList());
    EXPECT_EQ(h.LoadCount(kSkillListWindow), loads + 1);
    EXPECT_TRUE(g_skillListReady);
    EXPECT_EQ(g_skillNameTable.Size(), CountLines(EmbeddedSkillNameTable()));
    for (const ClassList& c : ClassLists()) {
      EXPECT_TRUE(c.combo->Disabled());
      EXPECT_EQ(c.combo->Count(), 0);
    }
    EXPECT_FALSE(list::标签5->Visible());
    EXPECT_FALSE(list::加载技能按钮->Disabled());
  });
}

TEST_F(SkillListTest, AMissingOrEmptySkillFolderIsReportedAndTheListsStay) {
  const auto named = NamedKeys(1).front();
  const std::string& key = named.first;
  const std::string& name = named.second;
  struct Case {
    const char* label;
    void (*breakIt)(const ScratchFolder&);
  };
  const std::vector<Case> cases = {
      {"missing", [](const ScratchFolder& f) { std::filesystem::remove_all(f.At("skill")); }},
      {"a file",
       [](const ScratchFolder& f) {
         std::filesystem::remove_all(f.At("skill"));
         f.Write("skill", "x");
       }},
      {"empty",
       [](const ScratchFolder& f) {
         std::filesystem::remove_all(f.At("skill"));
         f.Folder("skill");
       }},
  };
  Run([&] {
    ASSERT_TRUE(OpenList());
    for (const Case& c : cases) {
      std::filesystem::remove_all(folder.At("skill"));
      folder.Write("skill/mage/a.skl", PtSkillFile(key));
      EXPECT_THAT(Load(), ElementsAre());
      c.breakIt(folder);
      const std::size_t shown = prompts.Shown().size();
      EXPECT_THAT(Load(1), ElementsAre("请先将skill文件夹从PVF里面提取出来，放到")) << c.label;
      ASSERT_EQ(prompts.Shown().size(), shown + 1);
      EXPECT_THAT(
          prompts.Shown().back().lines,
          ElementsAre("", "请先将skill文件夹从PVF里面提取出来，放到", "与本工具同一目录下面！"));
      EXPECT_EQ(prompts.Shown().back().buttonMode, 1);
      EXPECT_THAT(Items(kMage), ElementsAre("请选择一个技能", name)) << c.label;
      EXPECT_THAT(Paths(kMage), ElementsAre("skill/mage/a.skl"));
      EXPECT_FALSE(list::加载技能按钮->Disabled());
      EXPECT_TRUE(g_skillListReady);
    }
  });
}

TEST_F(SkillListTest, EachClassFolderIsListedByDisplayNameItemKBesidePathK) {
  const auto keys = NamedKeys(2);
  folder.Write("skill/swordman/b.skl", PtSkillFile(keys[0].first));
  folder.Write("skill/swordman/a.SKL", PtSkillFile(keys[1].first));
  folder.Write("skill/swordman/c.skl", PtSkillFile(keys[0].first));  // the same name again
  folder.Write("skill/swordman/lf.skl", "[name]\n<12::" + keys[1].first + "`x`>\t\n");
  folder.Write("skill/swordman/sp.skl",
               "[@05][name]\r\n[@0A]\r\n<12::" + keys[0].first + "`x`>\r\n");
  folder.Write("skill/swordman/notes.txt", PtSkillFile(keys[0].first));
  folder.Write("skill/swordman/folder.skl/inner.skl", PtSkillFile(keys[0].first));
  // A regular file that no one can read, not even the superuser.
  std::filesystem::create_symlink("/proc/self/mem", folder.At("skill/swordman/d.skl"));
  folder.Write("skill/mage/readme.txt", "x");                     // entries, but no skill file
  folder.Folder("skill/thief");                                   // empty
  folder.Write("skill/gunner", "x");                              // not a folder
  folder.Write("skill/other/e.skl", PtSkillFile(keys[0].first));  // not a class folder

  Run([&] {
    ASSERT_TRUE(OpenList());
    EXPECT_THAT(Load(), ElementsAre());
    EXPECT_THAT(Items(kSwordman),
                ElementsAre("请选择一个技能", keys[1].second, keys[0].second, keys[0].second,
                            "未知技能", keys[1].second, "未知技能"));
    EXPECT_THAT(Paths(kSwordman), ElementsAre("skill/swordman/a.SKL", "skill/swordman/b.skl",
                                              "skill/swordman/c.skl", "skill/swordman/d.skl",
                                              "skill/swordman/lf.skl", "skill/swordman/sp.skl"));
    EXPECT_THAT(Items(kMage), ElementsAre("请选择一个技能"));
    for (int i = 0; i < kClassFolderCount; ++i) {
      const fw::Combo& combo = *ClassLists()[static_cast<std::size_t>(i)].combo;
      const bool listed = i == kSwordman || i == kMage;
      EXPECT_EQ(combo.Disabled(), !listed) << i;
      EXPECT_EQ(combo.Current(), listed ? 0 : -1) << i;
      if (!listed) {
        EXPECT_EQ(combo.Count(), 0) << i;
      }
    }
    EXPECT_FALSE(list::标签5->Visible());
    EXPECT_FALSE(list::加载技能按钮->Disabled());
    EXPECT_TRUE(g_skillListReady);
  });
}

// The user may make the skill folder, or a class folder, a link to a
// folder of their own; folders inside a class folder are still not entered.
TEST_F(SkillListTest, ASkillFolderThatIsALinkIsListed) {
  const auto keys = NamedKeys(2);
  folder.Write("mine/skill/mage/a.skl", PtSkillFile(keys[0].first));
  folder.Write("theirs/thief/b.skl", PtSkillFile(keys[1].first));
  folder.Write("theirs/thief/sub/c.skl", PtSkillFile(keys[1].first));
  std::filesystem::create_directory_symlink(folder.At("mine/skill"), folder.At("skill"));
  std::filesystem::create_directory_symlink(folder.At("theirs/thief"),
                                            folder.At("mine/skill/thief"));
  std::filesystem::create_directory_symlink(folder.At("theirs/thief/sub"),
                                            folder.At("theirs/thief/link.skl"));
  Run([&] {
    ASSERT_TRUE(OpenList());
    EXPECT_THAT(Load(), ElementsAre());
    EXPECT_THAT(Items(kMage), ElementsAre("请选择一个技能", keys[0].second));
    EXPECT_THAT(Paths(kMage), ElementsAre("skill/mage/a.skl"));
    EXPECT_THAT(Items(kThief), ElementsAre("请选择一个技能", keys[1].second));
    EXPECT_THAT(Paths(kThief), ElementsAre("skill/thief/b.skl"));
  });
}

TEST_F(SkillListTest, ASecondLoadListsOnlyWhatItFinds) {
  const auto keys = NamedKeys(3);
  folder.Write("skill/thief/a.skl", PtSkillFile(keys[0].first));
  folder.Write("skill/thief/b.skl", PtSkillFile(keys[1].first));
  folder.Write("skill/mage/c.skl", PtSkillFile(keys[0].first));
  Run([&] {
    ASSERT_TRUE(OpenList());
    Load();
    g_maleSearchResume = 4;
    g_femaleSearchResume = 5;
    std::filesystem::remove(folder.At("skill/thief/a.skl"));
    folder.Write("skill/thief/0.skl", PtSkillFile(keys[2].first));
    std::filesystem::remove_all(folder.At("skill/mage"));
    Load();
    EXPECT_THAT(Items(kThief), ElementsAre("请选择一个技能", keys[2].second, keys[1].second));
    EXPECT_THAT(Paths(kThief), ElementsAre("skill/thief/0.skl", "skill/thief/b.skl"));
    EXPECT_THAT(Items(kMage), ElementsAre());
    EXPECT_TRUE(list::女法师组合框->Disabled());
    EXPECT_EQ(g_maleSearchResume, 0);
    EXPECT_EQ(g_femaleSearchResume, 0);
  });
}

TEST_F(SkillListTest, TheBusyLabelCyclesItsTwelveFramesUntilEveryLoaderHasEnded) {
  // No folder to list: only the held loader runs, and it ends when told.
  folder.Folder("skill/thief");
  std::vector<std::string> seen;
  Run([&] {
    ASSERT_TRUE(OpenList());
    HoldPriestLoader();
    // Look at the label halfway through each frame; the held loader ends
    // while the sixth frame of the second cycle shows.
    for (int k = 0; k < 24; ++k) {
      h.Then(
          [&, k] {
            seen.push_back(list::标签5->Visible() ? list::标签5->Text() : "(hidden)");
            EXPECT_TRUE(list::加载技能按钮->Disabled());
            if (k == 17) ReleasePriestLoader();
          },
          k == 0 ? 50 : 100);
    }
    const std::int64_t start = h.NowMs();
    Load();
    EXPECT_EQ(h.NowMs() - start, 24 * kBusyFrameMs);  // the second cycle runs to its end
    EXPECT_FALSE(list::标签5->Visible());
  });
  std::vector<std::string> expected;
  for (int k = 0; k < 24; ++k) expected.emplace_back(kBusyFrames[static_cast<std::size_t>(k % 12)]);
  EXPECT_EQ(seen, expected);
  EXPECT_THAT(expected, ::testing::Contains("         >"));
}

TEST_F(SkillListTest, TheWindowClosesOnlyWhenNoLoadRuns) {
  folder.Write("skill/thief/a.skl", PtSkillFile(NamedKeys(1).front().first));
  Run([&] {
    ASSERT_TRUE(OpenList());
    HoldPriestLoader();
    h.Then(
        [&] {
          // By the close button and by the window manager alike.
          EXPECT_TRUE(h.Click(kSkillListWindow, "关闭按钮"));
          EXPECT_TRUE(h.Close(kSkillListWindow));
          EXPECT_TRUE(list::window->IsLoaded());
          EXPECT_FALSE(g_skillListReady);
          ReleasePriestLoader();
        },
        250);
    Load();
    EXPECT_TRUE(g_skillListReady);
    EXPECT_TRUE(h.Close(kSkillListWindow));
    EXPECT_FALSE(list::window->IsLoaded());
    ASSERT_TRUE(OpenList());
    EXPECT_TRUE(h.Click(kSkillListWindow, "关闭按钮"));
    EXPECT_FALSE(list::window->IsLoaded());
  });
}

TEST_F(SkillListTest, ADestroyedWindowStopsItsLoadersAndItsLoadEndsQuietly) {
  const std::string key = NamedKeys(1).front().first;
  for (int i = 0; i < 300; ++i) {
    folder.Write("skill/thief/" + std::to_string(1000 + i) + ".skl", PtSkillFile(key));
  }
  Run([&] {
    ASSERT_TRUE(OpenList());
    HoldPriestLoader();
    h.Then(
        [&] {
          list::window->Destroy();  // stops and joins the loaders
          EXPECT_FALSE(AnyLoaderRunning());
          ASSERT_TRUE(OpenList());  // a new instance, while the old load still waits
        },
        150);
    Load();
    // What the old load's loaders had posted went with the old instance.
    for (const ClassList& c : ClassLists()) EXPECT_EQ(c.combo->Count(), 0);
    EXPECT_FALSE(list::标签5->Visible());
    EXPECT_TRUE(g_skillListReady);
    // The new instance loads as usual.
    EXPECT_THAT(Load(), ElementsAre());
    EXPECT_EQ(Items(kThief).size(), 301u);
    EXPECT_EQ(Paths(kThief).size(), 300u);
  });
}

TEST_F(SkillListTest, LoadsAndClosesOverAndOverAndTheProgramEndsDuringALoad) {
  const auto keys = NamedKeys(2);
  for (const ClassFolder& c : ClassFolders()) {
    for (int i = 0; i < 40; ++i) {
      folder.Write(std::string("skill/") + c.folder + "/" + std::to_string(i) + ".skl",
                   PtSkillFile(keys[static_cast<std::size_t>(i % 2)].first));
    }
  }
  h.Then([&] {
    for (int round = 0; round < 10; ++round) {
      ASSERT_TRUE(OpenList());
      Load();
      for (int i = 0; i < kClassFolderCount; ++i) {
        const std::vector<std::string> items = Items(i);
        ASSERT_EQ(items.size(), 41u);
        const std::vector<std::string> paths = Paths(i);
        for (std::size_t k = 1; k < items.size(); ++k) {
          // Files 0.skl, 1.skl, 10.skl, ... in byte order; even numbers hold keys[0].
          const std::string file = paths[k - 1].substr(paths[k - 1].rfind('/') + 1);
          EXPECT_EQ(items[k], keys[static_cast<std::size_t>(std::stoi(file) % 2)].second);
        }
      }
      ASSERT_TRUE(h.Click(kSkillListWindow, "关闭按钮"));
    }
    // The program ends while loaders run: the exit routine stops and joins
    // them before it releases what they use.
    ASSERT_TRUE(OpenList());
    h.Then([&] { h.Click(kMainWindow, "关闭按钮"); }, 1);
    Load();
    ADD_FAILURE() << "the program went on after its close button";
  });
  const fw::ProgramEnded end = h.Run(&ProgramStart);
  EXPECT_FALSE(end.fatal) << Utf8(end.fatalMessage);
  EXPECT_EQ(end.code, 0);
  EXPECT_EQ(h.ExitRoutineRuns(), 1);
  EXPECT_FALSE(AnyLoaderRunning());
  for (const ClassFolder& c : ClassFolders()) EXPECT_EQ(c.paths->Size(), 0);
}

TEST_F(SkillListTest, AReadDuringALoadKeepsTheListsLockedAfterIt) {
  folder.Write("skill/thief/a.skl", PtSkillFile(NamedKeys(1).front().first));
  Run([&] {
    ASSERT_TRUE(OpenList());
    HoldPriestLoader();
    h.Then(
        [&] {
          PasteAndRead(read_test::Fixture("both_copies", "PT"));
          ReleasePriestLoader();
        },
        150);
    Load();
    EXPECT_TRUE(list::加载技能按钮->Disabled());
    EXPECT_TRUE(list::暗夜使组合框->Disabled());
    EXPECT_TRUE(g_skillListReady);
    Click("读取按钮");  // release
    EXPECT_FALSE(list::加载技能按钮->Disabled());
    EXPECT_FALSE(list::暗夜使组合框->Disabled());
  });
}

TEST_F(SkillListTest, AWindowOpenedWhileASkillIsHeldStartsLocked) {
  Run([&] {
    PasteAndRead(read_test::Fixture("both_copies", "PT"));
    ASSERT_TRUE(OpenList());
    EXPECT_TRUE(list::加载技能按钮->Disabled());
    EXPECT_TRUE(list::选择夹男->Disabled());
    EXPECT_TRUE(list::搜索按钮女->Disabled());
    EXPECT_FALSE(h.Click(kSkillListWindow, "加载技能按钮"));
    Click("读取按钮");
    EXPECT_FALSE(list::加载技能按钮->Disabled());
  });
}

}  // namespace
}  // namespace app_test
