// The save buttons of the parameter and mastery windows as the user meets
// them: the edited values go into the script, the skill is read again with
// the same data set and mode; a refused save keeps everything as it was.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/units.h"
#include "platform/gbk.h"
#include "tests/app/read_session.h"
#include "tests/test_names.h"

namespace read_test {
namespace {

using namespace app;
using platform::Gbk;
using ::testing::ElementsAre;

// The row of a side-window grid whose column 0 is `title` (the `nth` one).
int RowTitled(fw::Ref<fw::Grid> grid, const std::string& title, int nth = 0) {
  for (int row = 1; row < grid->RowCount(); ++row) {
    if (Utf8(grid->CellText(row, 0)) == title && nth-- == 0) return row;
  }
  ADD_FAILURE() << "no row " << title;
  return -1;
}

class SideSave : public ReadSessionWith<const char*> {
 protected:
  std::string Form() const { return GetParam(); }
  bool EditParam(const std::string& title, int nth, int offset, const std::string& utf8) {
    return h.EditCell(kSkillParamWindow, "参数表格",
                      RowTitled(param_window::参数表格, title, nth) + offset, 1, Gbk(utf8));
  }
  bool EditMastery(int row, const std::string& utf8) {
    return h.EditCell(kMasteryLevelWindow, "精通表格", row, 1, Gbk(utf8));
  }
  std::vector<std::string> SaveParams(std::size_t expected) {
    return Prompted(expected, [&] { EXPECT_TRUE(h.Click(kSkillParamWindow, "保存按钮")); });
  }
  std::vector<std::string> SaveMastery(std::size_t expected) {
    return Prompted(expected, [&] { EXPECT_TRUE(h.Click(kMasteryLevelWindow, "保存按钮")); });
  }
  // Reads both_copies and saves its 最大等级 as the highest mastery level,
  // 45, so that the saves that follow are not refused for it.
  void ReadWithMaximumAtMastery() {
    PasteAndRead(Fixture("both_copies", Form()));
    EXPECT_TRUE(EditParam("最大等级", 0, 0, "45"));
    EXPECT_THAT(SaveParams(1), ElementsAre("技能参数保存成功！"));
  }
  // The script with one value line replaced: `from` is the text just before
  // it (SP its own line, PT the values line's start).
  std::string Replaced(std::string text, const std::string& sp, const std::string& spAfter,
                       const std::string& pt, const std::string& ptAfter, std::size_t from = 0) {
    const std::string& old = Form() == "SP" ? sp : pt;
    return text.replace(text.find(old, from), old.size(), Form() == "SP" ? spAfter : ptAfter);
  }
};

// A section of a small script: its tag and its values.
struct Section {
  std::string tag;
  std::vector<std::string> values;
};

// A small skill of one class (神枪手, five growtypes) in `form`, holding
// `sections` after its name, each written as the form writes it, and a
// static block and a level table of one level, so that its read shows no
// message.
std::string SmallSkill(const std::string& form, const std::vector<Section>& sections) {
  const bool sp = form == "SP";
  std::string text = sp ? "[@05][name]\r\n[@09]skillname.str\r\n[@0A]heavy_barrage_name\r\n"
                        : "[name]\r\n<12::heavy_barrage_name`重炮轰击`>\t\r\n";
  for (const Section& section : sections) {
    text += (sp ? "[@05]" : "") + section.tag + "\r\n";
    for (const std::string& value : section.values)
      text += sp ? "[@02]" + value + "\r\n" : value + "\t";
    if (!sp) text += "\r\n";
  }
  text += sp ? "[@05][static data]\r\n[@02]5\r\n[@05][/static data]\r\n[@05][level info]\r\n"
               "[@02]1\r\n[@02]100\r\n[@05][/level info]\r\n"
             : "[static data]\r\n5\t\r\n[/static data]\r\n[level info]\r\n1\t100\t\r\n"
               "[/level info]\r\n";
  return Gbk(text);
}

// The same skill in PT with its sections as raw lines, "tag\r\nvalues".
std::string SmallPtSkill(const std::vector<std::string>& sections) {
  std::string text = "[name]\r\n<12::heavy_barrage_name`重炮轰击`>\t\r\n";
  for (const std::string& section : sections) text += section + "\r\n";
  return Gbk(text +
             "[static data]\r\n5\t\r\n[/static data]\r\n[level info]\r\n1\t100\t\r\n"
             "[/level info]\r\n");
}

const std::vector<Section> kSmallHeader = {
    {"[required level]", {"15"}},
    {"[maximum level]", {"30"}},
    {"[consume MP]", {"30", "12"}},
    {"[consume item]", {"3037", "1", "2"}},
    {"[growtype maximum level]", {"30", "30", "30", "25", "30"}},
};

TEST_P(SideSave, HeaderFieldsAreWrittenAndReadAgain) {
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("both_copies", Form()));
    Click("PK单选框");
    Click("增加单选框");
    const std::string before = 编辑框1->Text();
    EXPECT_TRUE(EditParam("学习等级", 0, 0, "26"));
    // Not below the highest mastery level, 45.
    EXPECT_TRUE(EditParam("最大等级", 0, 0, "45"));
    EXPECT_TRUE(EditParam("冷却时间", 1, 1, "9500"));  // the arena copy's second value
    EXPECT_THAT(SaveParams(1), ElementsAre("技能参数保存成功！"));

    std::string expected = Replaced(before, "[@02]25\r\n", "[@02]26\r\n", "\r\n25\t", "\r\n26\t",
                                    before.find("[required level]"));
    expected = Replaced(expected, "[@02]40\r\n", "[@02]45\r\n", "\r\n40\t", "\r\n45\t",
                        expected.find("[maximum level]"));
    const std::size_t pvp = expected.find("[pvp]");
    expected = Replaced(expected, "[@02]10000\r\n", "[@02]9500\r\n", "12000\t10000\t",
                        "12000\t9500\t", pvp);
    EXPECT_EQ(编辑框1->Text(), expected);
    // Read again: the new values shown, the data set and mode chosen again.
    EXPECT_EQ(
        Utf8(param_window::参数表格->CellText(RowTitled(param_window::参数表格, "学习等级"), 1)),
        "26");
    EXPECT_TRUE(PK单选框->Checked());
    EXPECT_TRUE(增加单选框->Checked());
    EXPECT_EQ(Text(读取按钮), "释放数据");
  });
}

TEST_P(SideSave, ARefusedHeaderSaveKeepsEverything) {
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("both_copies", Form()));
    Click("刷图单选框");
    const std::string before = 编辑框1->Text();
    ASSERT_GT(mastery_window::精通表格->RowCount(), 1);
    // The highest mastery level of the skill is 45.
    EXPECT_TRUE(EditParam("最大等级", 0, 0, "44"));
    EXPECT_TRUE(EditParam("学习等级", 0, 0, "26"));
    EXPECT_THAT(SaveParams(1), ElementsAre("最大等级不能小于技能的精通等级！"));
    EXPECT_EQ(编辑框1->Text(), before);
    EXPECT_EQ(
        Utf8(param_window::参数表格->CellText(RowTitled(param_window::参数表格, "学习等级"), 1)),
        "26");
    EXPECT_TRUE(刷图单选框->Checked());
    EXPECT_EQ(Text(读取按钮), "释放数据");
    // A TAB is refused likewise.
    EXPECT_TRUE(EditParam("最大等级", 0, 0, "45\t"));
    EXPECT_THAT(SaveParams(1), ElementsAre("输入的数据不能包含制表符或换行符！"));
    EXPECT_EQ(编辑框1->Text(), before);
  });
}

TEST_P(SideSave, AHeaderValueThatIsNoIntegerIsRefusedAndTheUserGoesOnAsUsual) {
  struct Case {
    const char* name;
    const char* title;
    int offset;  // the row below the field's first row
    const char* typed;
    const char* message;
  };
  const Case cases[] = {
      {"letters", "学习等级", 0, "abc", "技能参数只支持输入整数！"},
      {"a number with letters after it", "学习等级", 0, "12a", "技能参数只支持输入整数！"},
      // Would make the text neither form, so that it could not be read again.
      {"a marker", "学习等级", 0, "[@02]26", "技能参数只支持输入整数！"},
      // Would split into two values in a PT line.
      {"a value separator", "MP消耗1", 0, "40|7", "技能参数只支持输入整数！"},
      {"a decimal where an integer stands", "MP消耗1", 1, "1.5", "技能参数只支持输入整数！"},
      {"beyond 32 bits", "SP消耗", 0, "99999999999", "修改后的数值超出整数范围，脚本没有改变！"},
  };
  Run([&] {
    using namespace main_window;
    ReadWithMaximumAtMastery();
    Click("刷图单选框");
    const std::string before = 编辑框1->Text();
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      const int row = RowTitled(param_window::参数表格, c.title) + c.offset;
      const std::string stored = param_window::参数表格->CellText(row, 1);
      ASSERT_TRUE(EditParam(c.title, 0, c.offset, c.typed));
      EXPECT_THAT(SaveParams(1), ElementsAre(c.message));
      // Nothing written, the skill still held as it was read.
      EXPECT_EQ(编辑框1->Text(), before);
      EXPECT_EQ(Text(读取按钮), "释放数据");
      EXPECT_TRUE(编辑框1->Disabled());
      EXPECT_TRUE(刷图单选框->Checked());
      EXPECT_EQ(g_scriptText, before);
      EXPECT_EQ(Utf8(param_window::参数表格->CellText(row, 1)), c.typed);
      ASSERT_TRUE(h.EditCell(kSkillParamWindow, "参数表格", row, 1, stored));
    }
    // The usual buttons: release, read again, save a value.
    Click("读取按钮");
    EXPECT_EQ(Text(读取按钮), "读取数据");
    EXPECT_FALSE(编辑框1->Disabled());
    Click("读取按钮");
    EXPECT_EQ(Text(读取按钮), "释放数据");
    EXPECT_EQ(
        Utf8(param_window::参数表格->CellText(RowTitled(param_window::参数表格, "学习等级"), 1)),
        "25");
    EXPECT_TRUE(EditParam("学习等级", 0, 0, "26"));
    EXPECT_THAT(SaveParams(1), ElementsAre("技能参数保存成功！"));
    EXPECT_EQ(编辑框1->Text(), Replaced(before, "[@02]25\r\n", "[@02]26\r\n", "\r\n25\t",
                                        "\r\n26\t", before.find("[required level]")));
  });
}

TEST_P(SideSave, AHeaderValueIsReadAsTheLevelInputsAreAndWrittenAsANumber) {
  // Folded and trimmed as the level inputs are, written as the level,
  // static and mastery writers write their numbers.
  struct Case {
    const char* typed;
    const char* written;
  };
  const Case cases[] = {{"\xE3\x80\x80２６\xE3\x80\x80", "26"},
                        {" 27 ", "27"},
                        {"-28", "-28"},
                        {"+7", "7"},
                        {"0030", "30"},
                        {"-0", "0"},
                        {"＋００８", "8"}};
  Run([&] {
    using namespace main_window;
    ReadWithMaximumAtMastery();
    std::string stored = "25";
    for (const Case& c : cases) {
      SCOPED_TRACE(c.written);
      const std::string before = 编辑框1->Text();
      EXPECT_TRUE(EditParam("学习等级", 0, 0, c.typed));
      EXPECT_THAT(SaveParams(1), ElementsAre("技能参数保存成功！"));
      const std::string written = c.written;
      EXPECT_EQ(编辑框1->Text(),
                Replaced(before, "[@02]" + stored + "\r\n", "[@02]" + written + "\r\n",
                         "\r\n" + stored + "\t", "\r\n" + written + "\t",
                         before.find("[required level]")));
      stored = written;
    }
  });
}

class DecimalHeaderSave : public ReadSession {};

TEST_F(DecimalHeaderSave, AStoredDecimalTakesADecimalOrAnInteger) {
  // A PT value holding a point is a decimal; SP header values are integers.
  std::string script = Fixture("both_copies", "PT");
  script.replace(script.find("9000\t7000\t"), 4, "0.75");
  // Not below the highest mastery level, 45.
  script.replace(script.find("[maximum level]\r\n40") + 17, 2, "45");
  struct Case {
    const char* typed;
    const char* written;  // nullptr: refused with `message`
    const char* message;
  };
  const Case cases[] = {
      {"１.５", "1.5", "技能参数保存成功！"},
      {"2", "2.0", "技能参数保存成功！"},           // still a decimal
      {"0030.250", "30.25", "技能参数保存成功！"},  // written as a number
      {"2.5x", nullptr, "技能参数只支持输入数字！"},
  };
  Run([&] {
    using namespace main_window;
    PasteAndRead(script);
    for (const Case& c : cases) {
      SCOPED_TRACE(c.typed);
      const std::string before = 编辑框1->Text();
      const std::string stored =
          param_window::参数表格->CellText(RowTitled(param_window::参数表格, "冷却时间"), 1);
      ASSERT_TRUE(h.EditCell(kSkillParamWindow, "参数表格",
                             RowTitled(param_window::参数表格, "冷却时间"), 1, Gbk(c.typed)));
      EXPECT_THAT(Prompted(1, [&] { EXPECT_TRUE(h.Click(kSkillParamWindow, "保存按钮")); }),
                  ElementsAre(c.message));
      std::string expected = before;
      if (c.written != nullptr) {
        const std::size_t at = expected.find("[cool time]\r\n") + 13;
        expected.replace(at, stored.size(), c.written);
      }
      EXPECT_EQ(编辑框1->Text(), expected);
    }
  });
}

TEST_P(SideSave, AnEmptiedValueIsRefused) {
  // Writing it would leave a value line without its number, or pass the
  // field over with the other values typed into it.
  struct Case {
    const char* name;
    const char* title;  // of the field's first row
    std::vector<std::string> typed;
  };
  const Case cases[] = {
      {"the second of two", "MP消耗1", {"30", ""}},
      {"the first of two, the second changed", "MP消耗1", {"", "15"}},
      {"blanks", "MP消耗1", {"30", " \xE3\x80\x80"}},
      {"the only value", "学习等级", {""}},
      {"the third of three", "需要物品", {"3037", "1", ""}},
  };
  Run([&] {
    using namespace main_window;
    PasteAndRead(SmallSkill(Form(), kSmallHeader));
    ASSERT_GT(mastery_window::精通表格->RowCount(), 1);
    const std::string before = 编辑框1->Text();
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      const int row = RowTitled(param_window::参数表格, c.title);
      std::vector<std::string> stored;
      for (std::size_t i = 0; i < c.typed.size(); ++i) {
        stored.push_back(param_window::参数表格->CellText(row + static_cast<int>(i), 1));
        ASSERT_TRUE(EditParam(c.title, 0, static_cast<int>(i), c.typed[i]));
      }
      EXPECT_THAT(SaveParams(1), ElementsAre("技能参数不能为空，请输入数值！"));
      EXPECT_EQ(编辑框1->Text(), before);
      EXPECT_EQ(Text(读取按钮), "释放数据");
      EXPECT_TRUE(编辑框1->Disabled());
      EXPECT_EQ(Utf8(param_window::参数表格->CellText(row + 1, 1)),
                c.typed.size() > 1 ? c.typed[1] : "30");
      for (std::size_t i = 0; i < stored.size(); ++i) {
        ASSERT_TRUE(
            h.EditCell(kSkillParamWindow, "参数表格", row + static_cast<int>(i), 1, stored[i]));
      }
    }
    // The usual button: a value typed in place of the emptied one is saved.
    EXPECT_TRUE(EditParam("MP消耗1", 0, 1, "14"));
    EXPECT_THAT(SaveParams(1), ElementsAre("技能参数保存成功！"));
    EXPECT_EQ(编辑框1->Text(),
              Replaced(before, "[@02]12\r\n", "[@02]14\r\n", "30\t12\t", "30\t14\t"));
  });
}

TEST_P(SideSave, AValueTheScriptDoesNotHoldMayStayEmpty) {
  // The first value of [consume MP] is empty in the script (SP a bare
  // "[@02]" line, PT nothing before the first TAB): the second is saved.
  std::vector<Section> sections = kSmallHeader;
  sections[2].values = {"", "12"};
  Run([&] {
    using namespace main_window;
    const std::string script = SmallSkill(Form(), sections);
    PasteAndRead(script);
    EXPECT_EQ(
        Utf8(param_window::参数表格->CellText(RowTitled(param_window::参数表格, "MP消耗1"), 1)),
        "");
    EXPECT_TRUE(EditParam("MP消耗1", 0, 1, "15"));
    EXPECT_THAT(SaveParams(1), ElementsAre("技能参数保存成功！"));
    EXPECT_EQ(编辑框1->Text(), Replaced(script, "[@02]\r\n[@02]12\r\n", "[@02]\r\n[@02]15\r\n",
                                        "\r\n\t12\t", "\r\n\t15\t"));
  });
}

TEST_P(SideSave, EachSaveChecksAgainstWhatTheScriptHolds) {
  // The maximum level and the mastery levels as the script holds them,
  // not as the other grid shows them, typed but not saved.
  Run([&] {
    using namespace main_window;
    const std::string script = SmallSkill(Form(), kSmallHeader);  // 最大等级 30
    PasteAndRead(script);
    // 31 typed into 最大等级, not saved: the mastery levels stay at most 30.
    EXPECT_TRUE(EditParam("最大等级", 0, 0, "31"));
    EXPECT_TRUE(EditMastery(4, "31"));
    EXPECT_THAT(SaveMastery(1), ElementsAre("精通等级不能大于技能的最大等级！"));
    EXPECT_EQ(编辑框1->Text(), script);
    // 20s typed into the mastery rows, not saved: the stored 30s still
    // hold the maximum level up.
    for (int row = 1; row <= 5; ++row) EXPECT_TRUE(EditMastery(row, "20"));
    EXPECT_TRUE(EditParam("最大等级", 0, 0, "29"));
    EXPECT_THAT(SaveParams(1), ElementsAre("最大等级不能小于技能的精通等级！"));
    EXPECT_EQ(编辑框1->Text(), script);
    // The maximum level saved first, the higher mastery level then.
    EXPECT_TRUE(EditParam("最大等级", 0, 0, "31"));
    EXPECT_THAT(SaveParams(1), ElementsAre("技能参数保存成功！"));
    EXPECT_TRUE(EditMastery(4, "31"));
    EXPECT_THAT(SaveMastery(1), ElementsAre("技能参数保存成功！"));
    std::string expected =
        Replaced(script, "[@02]30\r\n[@05][consume MP]", "[@02]31\r\n[@05][consume MP]",
                 "\r\n30\t\r\n[consume MP]", "\r\n31\t\r\n[consume MP]");
    expected = Replaced(expected, "[@02]25\r\n", "[@02]31\r\n", "30\t25\t", "30\t31\t");
    EXPECT_EQ(编辑框1->Text(), expected);
  });
}

TEST_P(SideSave, AMaximumLevelIsCheckedBeforeTheClassIsChosen) {
  // A skill of every class shows no mastery rows until its class is
  // chosen; its mastery section holds 10, 9, 8, 7 and 6 all the same.
  Run([&] {
    using namespace main_window;
    const std::string script = Fixture("mastery_all_classes", Form());
    PasteAndRead(script);
    ASSERT_EQ(mastery_window::精通表格->RowCount(), 1);
    EXPECT_TRUE(EditParam("最大等级", 0, 0, "9"));
    EXPECT_THAT(SaveParams(1), ElementsAre("最大等级不能小于技能的精通等级！"));
    EXPECT_EQ(编辑框1->Text(), script);
    EXPECT_TRUE(EditParam("最大等级", 0, 0, "11"));
    EXPECT_THAT(SaveParams(1), ElementsAre("技能参数保存成功！"));
  });
}

TEST_P(SideSave, MasteryLevelsAreWrittenAndReadAgain) {
  Run([&] {
    using namespace main_window;
    // The script's maximum level saved at 45 allows the stored 45.
    ReadWithMaximumAtMastery();
    Click("PK单选框");
    const std::string before = 编辑框1->Text();
    EXPECT_TRUE(EditMastery(2, "41"));
    EXPECT_THAT(SaveMastery(1), ElementsAre("技能参数保存成功！"));
    const std::size_t at = before.find("[growtype maximum level]");
    EXPECT_EQ(编辑框1->Text(), Replaced(before, "[@02]40\r\n[@02]45", "[@02]41\r\n[@02]45",
                                        "40\t40\t45", "40\t41\t45", at));
    EXPECT_EQ(Utf8(mastery_window::精通表格->CellText(2, 1)), "41");
    EXPECT_TRUE(PK单选框->Checked());
  });
}

TEST_P(SideSave, ARefusedMasterySaveKeepsEverything) {
  Run([&] {
    using namespace main_window;
    PasteAndRead(Fixture("both_copies", Form()));
    const std::string before = 编辑框1->Text();
    EXPECT_TRUE(EditMastery(1, "41"));
    EXPECT_TRUE(EditMastery(2, "4.5"));
    EXPECT_THAT(SaveMastery(1), ElementsAre("精通等级只支持输入整数！"));
    EXPECT_TRUE(EditMastery(2, "40"));  // the stored 45 is above the maximum level 40
    EXPECT_THAT(SaveMastery(1), ElementsAre("精通等级不能大于技能的最大等级！"));
    EXPECT_EQ(prompts.Shown().back().lines[2], "注意:最大等级不要大于技能的动态数据等级");
    EXPECT_EQ(编辑框1->Text(), before);
    EXPECT_EQ(Utf8(mastery_window::精通表格->CellText(1, 1)), "41");
    EXPECT_EQ(Text(读取按钮), "释放数据");
  });
}

TEST_P(SideSave, AMasterySaveWritesOnlyIntoTheScriptThatWasRead) {
  Run([&] {
    using namespace main_window;
    const std::string script = Fixture("mastery_choice_only", Form());
    PasteAndRead(script, 2);
    // The box is edited into a text of neither form before the class is
    // picked: the choice offered for the script that was read goes with
    // it, so that no rows come from a text that no read has read, and
    // there is nothing to save.
    const std::string edited = script + (Form() == "SP" ? "\t" : "[@02]");
    ASSERT_TRUE(Paste(edited));
    EXPECT_FALSE(h.Choose(kMasteryLevelWindow, "全职业组合框", 1));
    EXPECT_EQ(mastery_window::精通表格->RowCount(), 1);
    EXPECT_THAT(SaveMastery(1), ElementsAre("没有加载技能数据或该技能没有精通等级参数！"));
    EXPECT_EQ(编辑框1->Text(), edited);
    EXPECT_EQ(Text(读取按钮), "读取数据");

    // The usual buttons: put the script back, read, pick, save.
    PasteAndRead(script, 2);
    ASSERT_TRUE(h.Choose(kMasteryLevelWindow, "全职业组合框", 1));
    EXPECT_TRUE(EditMastery(1, "8"));
    EXPECT_THAT(SaveMastery(1), ElementsAre("技能参数保存成功！"));
    EXPECT_EQ(编辑框1->Text(),
              Replaced(script, "[@02]10\r\n", "[@02]8\r\n", "\r\n10\t", "\r\n8\t"));
  });
}

TEST_P(SideSave, NothingLoaded) {
  Run([&] {
    EXPECT_THAT(SaveParams(1), ElementsAre("没有加载技能数据或该技能没有参数！"));
    EXPECT_THAT(SaveMastery(1), ElementsAre("没有加载技能数据或该技能没有精通等级参数！"));
  });
}

INSTANTIATE_TEST_SUITE_P(BothForms, SideSave, ::testing::Values("SP", "PT"), test_names::Text());

class OneValueLine : public ReadSession {};

TEST_F(OneValueLine, ReadsAndWritesAlike) {
  // PT lines of a one-value field with more than its value and a TAB: the
  // row shows the line's first value; a save of it, or of any other field,
  // keeps the rest of the line as it stands.
  struct Case {
    const char* line;
    const char* shown;
    const char* written;  // the line with 最大等级 saved as 32
  };
  const Case cases[] = {
      {"31\t  ", "31", "32\t  "},
      {"\t31\t", "31", "\t32\t"},
      {"31\t40\t", "31", "32\t40\t"},
  };
  Run([&] {
    using namespace main_window;
    for (const Case& c : cases) {
      SCOPED_TRACE(c.line);
      const std::string line = c.line;
      const std::string script =
          SmallPtSkill({"[required level]\r\n15\t", "[maximum level]\r\n" + line,
                        "[growtype maximum level]\r\n30\t30\t30\t31\t30\t"});
      PasteAndRead(script);
      EXPECT_EQ(
          Utf8(param_window::参数表格->CellText(RowTitled(param_window::参数表格, "最大等级"), 1)),
          c.shown);
      EXPECT_TRUE(h.EditCell(kSkillParamWindow, "参数表格",
                             RowTitled(param_window::参数表格, "学习等级"), 1, "16"));
      EXPECT_THAT(Prompted(1, [&] { EXPECT_TRUE(h.Click(kSkillParamWindow, "保存按钮")); }),
                  ElementsAre("技能参数保存成功！"));
      std::string expected = script;
      expected.replace(expected.find("15\t"), 2, "16");
      EXPECT_EQ(编辑框1->Text(), expected);
      EXPECT_TRUE(h.EditCell(kSkillParamWindow, "参数表格",
                             RowTitled(param_window::参数表格, "最大等级"), 1, "32"));
      EXPECT_THAT(Prompted(1, [&] { EXPECT_TRUE(h.Click(kSkillParamWindow, "保存按钮")); }),
                  ElementsAre("技能参数保存成功！"));
      expected.replace(expected.find(line), line.size(), c.written);
      EXPECT_EQ(编辑框1->Text(), expected);
      Click("读取按钮");
    }
  });
}

TEST_F(OneValueLine, TheMasterySaveReadsTheMaximumLevelAsItsRowShowsIt) {
  // "30\t40\t": the maximum level is 30, not 3040.
  Run([&] {
    using namespace main_window;
    const std::string script = SmallPtSkill(
        {"[maximum level]\r\n30\t40\t", "[growtype maximum level]\r\n30\t30\t30\t25\t30\t"});
    PasteAndRead(script);
    EXPECT_TRUE(h.EditCell(kMasteryLevelWindow, "精通表格", 4, 1, "35"));
    EXPECT_THAT(Prompted(1, [&] { EXPECT_TRUE(h.Click(kMasteryLevelWindow, "保存按钮")); }),
                ElementsAre("精通等级不能大于技能的最大等级！"));
    EXPECT_EQ(编辑框1->Text(), script);
  });
}

}  // namespace
}  // namespace read_test
