// Opening a skill from the list: picks, and the searches of the two tab
// groups with their wrap-around.
#include "app/skill_pick.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/units.h"
#include "platform/gbk.h"
#include "skill_list_session.h"

namespace app_test {
namespace {

using namespace app;
using platform::Gbk;
using ::testing::ElementsAre;
namespace list = skill_list_window;

struct SearchCase {
  const char* label;
  std::vector<const char*> items;  // items 1..n
  const char* sought;
  std::vector<int> found;  // item found by each press in turn (0: none)
};

TEST(FindNextItem, WalksTheMatchesAndWrapsAround) {
  const std::vector<SearchCase> cases = {
      {"empty text: every item in turn", {"甲", "乙", "丙"}, "", {1, 2, 3, 1, 2}},
      {"empty text skips empty items", {"甲", "", "丙"}, "", {1, 3, 1}},
      {"a word held by two items",
       {"后跳", "侧步", "强制 - 侧步", "火球", "冰枪", "疾风", "强制 - 后踢"},
       "强制",
       {3, 7, 3, 7}},
      {"ASCII letters without case", {"Topspin", "abc", "TOP"}, "top", {1, 3, 1}},
      {"the same name twice", {"后跳", "未知技能", "火球", "冰枪", "未知技能"}, "未知", {2, 5, 2}},
      {"a name that continues another", {"火球", "火球术"}, "火球", {1, 2, 1}},
      {"held nowhere", {"火球", "冰枪"}, "雷", {0, 0}},
      // 啊 is B0 A1 in GBK and “ is A1 B0, which lies across two 啊.
      {"never from half a character", {"啊啊"}, "“", {0}},
      {"no items", {}, "", {0}},
  };
  for (const SearchCase& c : cases) {
    std::vector<std::string> items;
    for (const char* item : c.items) items.push_back(Gbk(item));
    int resume = 0;
    std::vector<int> found;
    for (std::size_t press = 0; press < c.found.size(); ++press) {
      found.push_back(FindNextItem(items, Gbk(c.sought), resume));
      EXPECT_EQ(resume, found.back()) << c.label;  // the position stays on what was found
    }
    EXPECT_EQ(found, c.found) << c.label;
  }
}

TEST(FindNextItem, StartsAfterTheResumePosition) {
  const std::vector<std::string> items = {Gbk("火球"), Gbk("冰枪"), Gbk("火球术")};
  int resume = 1;
  EXPECT_EQ(FindNextItem(items, Gbk("火"), resume), 3);
  resume = 3;
  EXPECT_EQ(FindNextItem(items, Gbk("冰"), resume), 2);  // from the top again
  resume = 7;
  EXPECT_EQ(FindNextItem({}, "", resume), 0);
  EXPECT_EQ(resume, 7);  // nothing to search: unchanged
}

class SkillPickTest : public SkillListSession {
 protected:
  // Opens the list window and lists the scratch skill folder.
  void OpenLoaded() {
    ASSERT_TRUE(OpenList());
    Load();
  }
  std::string PathOf(std::string_view relative) const { return folder.Gbk(relative); }
};

TEST_F(SkillPickTest, APickPutsTheFileIntoTheEditorAndThePlaceholderDoesNothing) {
  const auto keys = NamedKeys(2);
  folder.Write("skill/fighter/a.skl", PtSkillFile(keys[0].first));
  folder.Write("skill/fighter/b.skl", PtSkillFile(keys[1].first, "[type]\n`技能`\t\n"));
  Run([&] {
    OpenLoaded();
    ASSERT_TRUE(h.ChooseTab(kSkillListWindow, "选择夹女", 1));
    EXPECT_TRUE(h.Choose(kSkillListWindow, "女格斗组合框", 2));
    EXPECT_EQ(main_window::路径编辑框->Text(), PathOf("skill/fighter/b.skl"));
    // UTF-8 made GBK, bare LF made CR LF.
    EXPECT_EQ(main_window::编辑框1->Text(),
              Gbk(PtSkillFile(keys[1].first, "[type]\r\n`技能`\t\r\n")));
    EXPECT_FALSE(main_window::保存文件按钮->Disabled());

    EXPECT_TRUE(h.Choose(kSkillListWindow, "女格斗组合框", 1));
    EXPECT_EQ(main_window::路径编辑框->Text(), PathOf("skill/fighter/a.skl"));
    EXPECT_EQ(main_window::编辑框1->Text(), Gbk(PtSkillFile(keys[0].first)));

    main_window::编辑框1->SetText("edited");
    EXPECT_TRUE(h.Choose(kSkillListWindow, "女格斗组合框", 0));
    EXPECT_EQ(main_window::编辑框1->Text(), "edited");
    EXPECT_EQ(main_window::路径编辑框->Text(), PathOf("skill/fighter/a.skl"));
    EXPECT_TRUE(prompts.Shown().empty());
  });
}

TEST_F(SkillPickTest, AFileThatCannotBeReadIsReportedAndChangesNothing) {
  folder.Write("skill/fighter/a.skl", PtSkillFile(NamedKeys(1).front().first));
  Run([&] {
    OpenLoaded();
    ASSERT_TRUE(h.ChooseTab(kSkillListWindow, "选择夹女", 1));
    main_window::编辑框1->SetText("the user's work");
    std::filesystem::remove(folder.At("skill/fighter/a.skl"));
    EXPECT_THAT(Prompted(1, [&] { h.Choose(kSkillListWindow, "女格斗组合框", 1); }),
                ElementsAre("无法读取该技能文件！"));
    EXPECT_EQ(main_window::编辑框1->Text(), "the user's work");
    EXPECT_EQ(Utf8(main_window::路径编辑框->Text()), "*");
    EXPECT_TRUE(main_window::保存文件按钮->Disabled());  // as it was at start
  });
}

// A file with a zero byte before its end (here UTF-16, as a Windows editor
// saves it) is refused: opened, its text would end at that byte, and a
// save would write the cut text over the file.
TEST_F(SkillPickTest, AFileThatIsNoTextScriptIsRefusedAndChangesNothing) {
  folder.Write("skill/fighter/a.skl", std::string("\xFF\xFE[\0n\0a\0m\0e\0]\0\t\0", 16));
  Run([&] {
    OpenLoaded();
    ASSERT_TRUE(h.ChooseTab(kSkillListWindow, "选择夹女", 1));
    main_window::编辑框1->SetText("the user's work");
    EXPECT_THAT(Prompted(1, [&] { h.Choose(kSkillListWindow, "女格斗组合框", 1); }),
                ElementsAre("该文件不是文本技能脚本，请换一个技能文件！"));
    EXPECT_EQ(main_window::编辑框1->Text(), "the user's work");
    EXPECT_EQ(Utf8(main_window::路径编辑框->Text()), "*");
    EXPECT_TRUE(main_window::保存文件按钮->Disabled());
    EXPECT_EQ(g_scriptFilePath, "");
  });
}

// A skill file saved as GBK is listed by its name, but a pick refuses it:
// opened, every Chinese character would show as "?", and a save would
// write those over the file.
TEST_F(SkillPickTest, AFileThatIsNotUtf8IsListedButRefusedAndChangesNothing) {
  const auto keys = NamedKeys(2);
  folder.Write("skill/fighter/a.skl", Gbk(PtSkillFile(keys[0].first)));
  folder.Write("skill/fighter/b.skl", "\xEF\xBB\xBF" + PtSkillFile(keys[1].first));
  Run([&] {
    OpenLoaded();
    EXPECT_THAT(Items(5), ElementsAre("请选择一个技能", keys[0].second, keys[1].second));
    ASSERT_TRUE(h.ChooseTab(kSkillListWindow, "选择夹女", 1));
    // A byte-order mark is left out, as before.
    EXPECT_TRUE(h.Choose(kSkillListWindow, "女格斗组合框", 2));
    EXPECT_EQ(main_window::编辑框1->Text(), Gbk(PtSkillFile(keys[1].first)));
    main_window::编辑框1->SetText("the user's work");

    EXPECT_THAT(Prompted(1, [&] { h.Choose(kSkillListWindow, "女格斗组合框", 1); }),
                ElementsAre("该文件不是UTF-8技能文件，请另存为UTF-8！"));
    EXPECT_EQ(main_window::编辑框1->Text(), "the user's work");
    EXPECT_EQ(main_window::路径编辑框->Text(), PathOf("skill/fighter/b.skl"));
    EXPECT_EQ(g_scriptFilePath, folder.Native("skill/fighter/b.skl"));
    EXPECT_FALSE(main_window::保存文件按钮->Disabled());
    EXPECT_EQ(prompts.Shown().size(), 1u);
  });
}

TEST_F(SkillPickTest, CharactersGbkCannotHoldAreShownAsAWarning) {
  folder.Write("skill/fighter/a.skl", PtSkillFile("a_name", "[x]\r\n\xF0\x9F\x99\x82\t\r\n"));
  Run([&] {
    OpenLoaded();
    ASSERT_TRUE(h.ChooseTab(kSkillListWindow, "选择夹女", 1));
    Prompted(1, [&] { h.Choose(kSkillListWindow, "女格斗组合框", 1); });
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_THAT(
        prompts.Shown().front().lines,
        ElementsAre("", "文件中有GBK无法表示的字符，已显示为?，", "保存文件时它们会被?替换！"));
    EXPECT_EQ(main_window::编辑框1->Text(), Gbk(PtSkillFile("a_name", "[x]\r\n?\t\r\n")));
  });
}

TEST_F(SkillPickTest, EachGroupSearchesTheListOfItsTabWithItsOwnTextAndPosition) {
  const auto keys = NamedKeys(3);
  // Two gunner skills of the same name around another; one mage skill.
  folder.Write("skill/gunner/1.skl", PtSkillFile(keys[0].first));
  folder.Write("skill/gunner/2.skl", PtSkillFile(keys[1].first));
  folder.Write("skill/gunner/3.skl", PtSkillFile(keys[0].first));
  folder.Write("skill/atmage/1.skl", PtSkillFile(keys[0].first));
  folder.Write("skill/mage/1.skl", PtSkillFile(keys[2].first));
  const std::string sought = Gbk(keys[0].second);
  Run([&] {
    using namespace list;
    OpenLoaded();
    ASSERT_TRUE(h.ChooseTab(kSkillListWindow, "选择夹男", 3));  // 男枪手
    ASSERT_TRUE(h.Type(kSkillListWindow, "搜索框男", sought));
    struct Press {
      int selected;
      const char* path;
    };
    for (const Press& p : {Press{1, "skill/gunner/1.skl"}, Press{3, "skill/gunner/3.skl"},
                           Press{1, "skill/gunner/1.skl"}}) {
      EXPECT_TRUE(h.Click(kSkillListWindow, "搜索按钮男"));
      EXPECT_EQ(男枪手组合框->Current(), p.selected);
      EXPECT_EQ(main_window::路径编辑框->Text(), PathOf(p.path));
      EXPECT_EQ(g_maleSearchResume, p.selected);
    }
    // Another tab starts from its first item.
    ASSERT_TRUE(h.ChooseTab(kSkillListWindow, "选择夹男", 4));  // 男法师
    EXPECT_EQ(g_maleSearchResume, 0);
    EXPECT_TRUE(h.Click(kSkillListWindow, "搜索按钮男"));
    EXPECT_EQ(男法师组合框->Current(), 1);
    EXPECT_EQ(main_window::路径编辑框->Text(), PathOf("skill/atmage/1.skl"));

    // A search that finds nothing leaves the script box as it is.
    main_window::编辑框1->SetText("unsaved changes");
    ASSERT_TRUE(h.Type(kSkillListWindow, "搜索框男", "no such name"));
    EXPECT_EQ(g_maleSearchResume, 0);  // a new text starts from the top
    EXPECT_TRUE(h.Click(kSkillListWindow, "搜索按钮男"));
    EXPECT_EQ(男法师组合框->Current(), 1);
    EXPECT_EQ(main_window::编辑框1->Text(), "unsaved changes");
    EXPECT_EQ(g_maleSearchResume, 0);

    // The female group: its own box and position, the male ones untouched.
    // (Its pick asks about the changes in the box; OK lets them go.)
    g_maleSearchResume = 1;
    ASSERT_TRUE(h.Type(kSkillListWindow, "搜索框女", ""));
    EXPECT_THAT(Prompted(1, [&] { EXPECT_TRUE(h.Click(kSkillListWindow, "搜索按钮女")); }),
                ElementsAre("技能数据的修改尚未保存，确定放弃修改吗？"));  // 女法师, an empty text
    EXPECT_EQ(女法师组合框->Current(), 1);
    EXPECT_EQ(g_femaleSearchResume, 1);
    EXPECT_EQ(g_maleSearchResume, 1);
    EXPECT_EQ(main_window::路径编辑框->Text(), PathOf("skill/mage/1.skl"));
    ASSERT_TRUE(h.ChooseTab(kSkillListWindow, "选择夹女", 3));  // 暗夜使: not listed
    EXPECT_TRUE(h.Click(kSkillListWindow, "搜索按钮女"));
    EXPECT_EQ(暗夜使组合框->Current(), -1);
    EXPECT_EQ(main_window::路径编辑框->Text(), PathOf("skill/mage/1.skl"));
    EXPECT_EQ(prompts.Shown().size(), 1u);
  });
}

// A program folder whose name GBK cannot hold is used as the system names
// it: the skill folder in it is listed, a pick opens its file (also one
// whose own name GBK cannot hold), the path box shows what GBK can show of
// the path, and a save writes to the file picked.
TEST_F(SkillPickTest, AProgramFolderOutsideGbkIsListedOpenedAndSaved) {
  const auto keys = NamedKeys(2);
  const std::string program = "j\xC3\xB6rg/\xEC\x8A\xA4\xED\x82\xAC";  // jörg/스킬
  folder.Write(program + "/skill/mage/a.skl", PtSkillFile(keys[0].first));
  folder.Write(program + "/skill/mage/\xEC\x8A\xA4.skl", PtSkillFile(keys[1].first));
  h.SetProgramFolder(folder.Native(program));
  Run([&] {
    OpenLoaded();
    EXPECT_TRUE(prompts.Shown().empty());
    EXPECT_THAT(Items(7), ElementsAre("请选择一个技能", keys[0].second, keys[1].second));
    EXPECT_THAT(Paths(7), ElementsAre(program + "/skill/mage/a.skl",
                                      program + "/skill/mage/\xEC\x8A\xA4.skl"));
    EXPECT_TRUE(h.Choose(kSkillListWindow, "女法师组合框", 2));
    EXPECT_EQ(main_window::编辑框1->Text(), Gbk(PtSkillFile(keys[1].first)));
    EXPECT_TRUE(h.Choose(kSkillListWindow, "女法师组合框", 1));
    EXPECT_EQ(main_window::编辑框1->Text(), Gbk(PtSkillFile(keys[0].first)));
    EXPECT_EQ(main_window::路径编辑框->Text(), Gbk(folder.Native("j?rg/\?\?/skill/mage/a.skl")));

    main_window::编辑框1->SetText("[name]\r\nedited\r\n");
    EXPECT_TRUE(h.Click(kMainWindow, "保存文件按钮"));
    EXPECT_TRUE(prompts.Shown().empty());
    std::ifstream saved(folder.At(program + "/skill/mage/a.skl"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), {}), "[name]\r\nedited\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.At("j?rg")));
  });
}

}  // namespace
}  // namespace app_test
