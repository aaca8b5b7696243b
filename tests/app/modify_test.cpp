// The bulk modification as the user does it: choose a data set and a mode,
// type into the grids, set the range, press 保存按钮 and answer the
// confirmation. Whole script texts are compared, in both forms.
#include <ostream>
#include <string>
#include <string_view>
#include <tuple>
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
using ::testing::ElementsAreArray;

// Which copy of a block the expected text changes.
enum class Copy { First, Arena };

// `text` with the values of one [level info] copy replaced: `values` hold
// the new values in level-major order ("0.5" is a decimal).
std::string WithLevelValues(std::string text, std::string_view form, Copy copy, int perLevel,
                            const std::vector<std::string>& values) {
  const bool sp = form == "SP";
  const std::size_t from = copy == Copy::Arena ? text.find(sp ? "[@05][pvp]" : "[pvp]") : 0;
  const std::size_t open = text.find(sp ? "[@05][level info]" : "[level info]", from);
  if (sp) {
    const std::string close = "[@05][/level info]";
    const std::size_t end = text.find(close, open) + close.size();
    std::string block = "[@05][level info]\r\n[@02]" + std::to_string(perLevel);
    for (const std::string& v : values)
      block += (v.find('.') != std::string::npos ? "\r\n[@04]" : "\r\n[@02]") + v;
    return text.replace(open, end - open, block + "\r\n" + close);
  }
  const std::size_t line = text.find("\r\n", open) + 2;
  std::string span = std::to_string(perLevel) + "\t";
  for (const std::string& v : values) span += v + "\t";
  return text.replace(line, text.find("\r\n", line) - line, span);
}

// `text` with one value line of a static copy replaced.
std::string WithStaticValues(std::string text, std::string_view form, Copy copy,
                             const std::vector<std::string>& values) {
  const bool sp = form == "SP";
  const std::size_t from = copy == Copy::Arena ? text.find(sp ? "[@05][pvp]" : "[pvp]") : 0;
  const std::size_t open = text.find(sp ? "[@05][static data]" : "[static data]", from);
  if (sp) {
    const std::string close = "[@05][/static data]";
    const std::size_t end = text.find(close, open) + close.size();
    std::string block = "[@05][static data]";
    for (const std::string& v : values) block += "\r\n[@02]" + v;
    return text.replace(open, end - open, block + "\r\n" + close);
  }
  const std::size_t line = text.find("\r\n", open) + 2;
  std::string span;
  for (const std::string& v : values) span += v + "\t";
  return text.replace(line, text.find("\r\n", line) - line, span);
}

template <class Param>
class ModifySession : public ReadSessionWith<Param> {
 protected:
  using ReadSession::Click;
  using ReadSession::h;
  using ReadSession::PasteAndRead;
  using ReadSession::prompts;

  virtual std::string Form() const = 0;

  // Reads a fixture and chooses its data set and mode.
  void Open(const char* stem, const char* dataSet, const char* mode, std::size_t readPrompts = 0) {
    PasteAndRead(Fixture(stem, Form()), readPrompts);
    if (*dataSet != '\0') Click(dataSet);
    if (*mode != '\0') Click(mode);
  }
  void TypeInputs(fw::Ref<fw::Grid> grid, const std::vector<std::string>& inputs, int col = 1) {
    for (std::size_t i = 0; i < inputs.size(); ++i) {
      if (inputs[i].empty()) continue;
      EXPECT_TRUE(h.EditCell(kMainWindow, grid.unit, static_cast<int>(i) + 1, col, Gbk(inputs[i])))
          << grid.unit << " row " << i + 1;
    }
  }
  void SetRange(const char* low, const char* high) {
    EXPECT_TRUE(h.Type(kMainWindow, "最低编辑框", Gbk(low)));
    EXPECT_TRUE(h.Type(kMainWindow, "最高编辑框", Gbk(high)));
  }
  // Presses 保存按钮 and answers every prompt with OK.
  std::vector<std::string> Save(std::size_t expected) { return Click("保存按钮", expected); }
};

// ---- Modifications that go through ------------------------------------------

struct WriteCase {
  const char* name;
  const char* stem;
  const char* dataSet;
  const char* mode;
  const char* low;
  const char* high;
  std::vector<std::string> inputs;
  std::vector<std::string> staticInputs;
  Copy copy;
  int perLevel;
  std::vector<std::string> after;        // the copy's values; empty: unchanged
  std::vector<std::string> staticAfter;  // the static copy's values; empty: unchanged
  std::vector<std::string> level1;       // column 0 after the re-read
  const char* confirmation;              // its first line
};

const std::vector<WriteCase> kWrites = {
    {"add, dungeon copy",
     "both_copies",
     "刷图单选框",
     "增加单选框",
     "2",
     "3",
     {"5", ""},
     {},
     Copy::First,
     2,
     {"800", "400", "885", "440", "965", "480"},
     {},
     {"800", "400"},
     "数据类型:地下城技能   修改方式:增加"},
    {"set, arena copy",
     "both_copies",
     "PK单选框",
     "",
     "1",
     "1",
     {"", "1"},
     {},
     Copy::Arena,
     2,
     {"500", "1", "540", "270", "580", "290"},
     {},
     {"500", "1"},
     "数据类型:决斗场技能   修改方式:等于"},
    {"multiply, arena of identical copies",
     "identical_copies",
     "PK单选框",
     "倍率单选框",
     "1",
     "3",
     {"0.29", "", ""},
     {},
     Copy::Arena,
     3,
     {"185", "40", "5", "203", "44", "5", "220", "48", "6"},
     {},
     {"185", "40", "5"},
     "数据类型:决斗场技能   修改方式:百分比"},
    {"increment, dungeon of identical copies",
     "identical_copies",
     "刷图单选框",
     "递增单选框",
     "1",
     "3",
     {"10", "", ""},
     {},
     Copy::First,
     3,
     {"640", "40", "5", "650", "44", "5", "660", "48", "6"},
     {},
     {"640", "40", "5"},
     "数据类型:地下城技能   修改方式:递增"},
    {"static only, arena of identical copies",
     "identical_copies",
     "PK单选框",
     "",
     "1",
     "3",
     {"", "", ""},
     {"1", ""},
     Copy::Arena,
     3,
     {},
     {"1", "12"},
     {"640", "40", "5"},
     "数据类型:决斗场技能   修改方式:等于"},
    {"levels and static, common",
     "single_level_info_common",
     "通用单选框",
     "赋值单选框",
     "3",
     "3",
     {"1", "2", "3"},
     {"4"},
     Copy::First,
     3,
     {"220", "60", "3", "245", "66", "3", "1", "2", "3"},
     {"4"},
     {"220", "60", "3"},
     "数据类型:通用技能   修改方式:等于"},
    {"multiply a decimal",
     "write_decimals",
     "通用单选框",
     "倍率单选框",
     "1",
     "2",
     {"2", "3"},
     {},
     Copy::First,
     2,
     {"200", "1.5", "400", "2.25", "300", "1.25"},
     {},
     {"200", "1.5"},
     "数据类型:通用技能   修改方式:百分比"},
    {"add beside a decimal",
     "write_decimals",
     "通用单选框",
     "增加单选框",
     "1",
     "3",
     {"5", ""},
     {},
     Copy::First,
     2,
     {"105", "0.5", "205", "0.75", "305", "1.25"},
     {},
     {"105", "0.5"},
     "数据类型:通用技能   修改方式:增加"},
    {"levels beside a static value that is not a number",
     "write_static_text",
     "通用单选框",
     "增加单选框",
     "2",
     "3",
     {"1", ""},
     {},
     Copy::First,
     2,
     {"100", "10", "111", "11", "121", "12"},
     {},
     {"100", "10"},
     "数据类型:通用技能   修改方式:增加"},
    {"a range from level 0 covers the table from level 1",
     "both_copies",
     "刷图单选框",
     "增加单选框",
     "0",
     "2",
     {"1", "2"},
     {},
     Copy::First,
     2,
     {"801", "402", "881", "442", "960", "480"},
     {},
     {"801", "402"},
     "数据类型:地下城技能   修改方式:增加"},
    {"multiply into tiny decimals",
     "write_decimals",
     "通用单选框",
     "倍率单选框",
     "1",
     "3",
     {"", "0.00001"},
     {},
     Copy::First,
     2,
     {"100", "0.000005", "200", "0.0000075", "300", "0.0000125"},
     {},
     {"100", "0.000005"},
     "数据类型:通用技能   修改方式:百分比"},
};

// A table case and the form it runs in.
template <class Case>
class CaseSession : public ModifySession<std::tuple<Case, const char*>> {
 protected:
  std::string Form() const override { return std::get<1>(this->GetParam()); }
  const Case& TheCase() const { return std::get<0>(this->GetParam()); }
};

template <class Case>
std::string CaseName(const ::testing::TestParamInfo<std::tuple<Case, const char*>>& info) {
  std::string name = std::to_string(info.index) + "_" + std::get<1>(info.param);
  return name;
}

void PrintTo(const WriteCase& c, std::ostream* os) {
  *os << c.name;
}

using Writes = CaseSession<WriteCase>;

TEST_P(Writes, ChangeExactlyTheChosenValues) {
  const WriteCase& c = TheCase();
  {
    Run([&] {
      using namespace main_window;
      Open(c.stem, c.dataSet, c.mode);
      const std::string before = 编辑框1->Text();
      TypeInputs(数据表格, c.inputs);
      TypeInputs(静态表格, c.staticInputs);
      SetRange(c.low, c.high);
      EXPECT_THAT(Save(1), ElementsAre(std::string("等级区间:") + c.low + "--" + c.high + "级"));
      const auto& confirm = prompts.Shown().back();
      EXPECT_EQ(confirm.lines[0], c.confirmation);
      EXPECT_EQ(confirm.lines[1], std::string("等级区间:") + c.low + "--" + c.high + "级");
      EXPECT_EQ(confirm.lines[2], "确定修改吗？");
      EXPECT_EQ(confirm.buttonMode, 2);

      std::string expected = before;
      if (!c.after.empty())
        expected = WithLevelValues(expected, Form(), c.copy, c.perLevel, c.after);
      if (!c.staticAfter.empty())
        expected = WithStaticValues(expected, Form(), c.copy, c.staticAfter);
      // SP: the level-property factor 0.00 becomes 0.001 with every modification.
      if (Form() == "SP" && std::string_view(c.stem) == "write_decimals")
        expected.replace(expected.find("[@04]0.00\r\n"), 11, "[@04]0.001\r\n");
      EXPECT_EQ(编辑框1->Text(), expected);

      // The quiet re-read shows the new values, same data set and mode.
      EXPECT_TRUE(fw::Get<fw::Radio>(kMainWindow, c.dataSet).Checked());
      if (*c.mode != '\0') {
        EXPECT_TRUE(fw::Get<fw::Radio>(kMainWindow, c.mode).Checked());
      }
      // SP shows a decimal with its marker.
      std::vector<std::string> level1 = c.level1;
      for (std::string& v : level1) {
        if (Form() == "SP" && v.find('.') != std::string::npos) v = "[@04]" + v;
      }
      EXPECT_THAT(Column(数据表格), ElementsAreArray(level1));
      EXPECT_THAT(Column(数据表格, 1), ::testing::Each(""));
      EXPECT_EQ(Text(读取按钮), "释放数据");
      EXPECT_EQ(Text(保存按钮), "保存修改");
      EXPECT_FALSE(保存按钮->Disabled());
    });
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Writes,
                         ::testing::Combine(::testing::ValuesIn(kWrites),
                                            ::testing::Values("SP", "PT")),
                         CaseName<WriteCase>);

// ---- Refusals ----------------------------------------------------------------

struct RefusalCase {
  const char* name;
  const char* stem;
  const char* dataSet;
  const char* mode;
  const char* low;
  const char* high;
  std::vector<std::string> inputs;
  std::vector<std::string> staticInputs;
  std::vector<std::string> bases;  // increment mode: column 0
  std::vector<std::string> messages;
  std::vector<std::string> ptMessages = {};  // the PT form's, where they differ
};

const std::vector<RefusalCase> kRefusals = {
    {"range upside down",
     "both_copies",
     "刷图单选框",
     "",
     "3",
     "2",
     {"1", ""},
     {},
     {},
     {"要修改的技能等级区间设置错误！"}},
    {"add a decimal",
     "both_copies",
     "刷图单选框",
     "增加单选框",
     "1",
     "3",
     {"1.5", ""},
     {},
     {},
     {"【增加】修改方式只支持输入整数！"}},
    {"set letters",
     "both_copies",
     "刷图单选框",
     "赋值单选框",
     "1",
     "3",
     {"", "abc"},
     {},
     {},
     {"【等于】修改方式只支持输入整数！"}},
    {"increment a decimal step",
     "both_copies",
     "刷图单选框",
     "递增单选框",
     "1",
     "3",
     {"0.5", ""},
     {},
     {},
     {"【递增】修改方式只支持输入整数！"}},
    {"add a decimal static",
     "both_copies",
     "刷图单选框",
     "增加单选框",
     "1",
     "3",
     {},
     {"1.5"},
     {},
     {"【增加】修改方式只支持输入整数！"}},
    {"multiply letters",
     "both_copies",
     "PK单选框",
     "倍率单选框",
     "1",
     "3",
     {"x", ""},
     {},
     {},
     {"【倍率】修改方式只支持输入数字！"}},
    {"multiply a decimal static",
     "both_copies",
     "PK单选框",
     "倍率单选框",
     "1",
     "3",
     {"1.5", ""},
     {"", "0.5"},
     {},
     {"【倍率】修改方式只有动态数据倍率支持小数！"}},
    {"a line break",
     "both_copies",
     "刷图单选框",
     "增加单选框",
     "1",
     "3",
     {"1\r\n2", ""},
     {},
     {},
     {"输入的数据不能包含制表符或换行符！"}},
    {"a sum beyond 32 bits",
     "both_copies",
     "刷图单选框",
     "增加单选框",
     "1",
     "3",
     {"2147483000", ""},
     {},
     {},
     {"修改后的数值超出整数范围，脚本没有改变！"}},
    {"an empty base",
     "both_copies",
     "刷图单选框",
     "递增单选框",
     "1",
     "3",
     {"5", ""},
     {},
     {"800", ""},
     {"技能1级数据不能为空！"}},
    {"an unusual level table",
     "write_unusual_table",
     "通用单选框",
     "",
     "1",
     "2",
     {"9"},
     {},
     {},
     {"未找到要修改的数据，脚本没有改变！"}},
    {"an unusual static block",
     "write_unusual_table",
     "通用单选框",
     "",
     "1",
     "2",
     {},
     {"8", ""},
     {},
     {"未找到要修改的数据，脚本没有改变！"}},
    {"add on a decimal",
     "write_decimals",
     "通用单选框",
     "增加单选框",
     "1",
     "3",
     {"1", "1"},
     {},
     {},
     {"该数据含有小数，请用【倍率】修改方式修改！"}},
    {"set a decimal",
     "write_decimals",
     "通用单选框",
     "赋值单选框",
     "2",
     "2",
     {"", "2"},
     {},
     {},
     {"该数据含有小数，请用【倍率】修改方式修改！"}},
    {"increment from a decimal base",
     "write_decimals",
     "通用单选框",
     "递增单选框",
     "1",
     "3",
     {"", "1"},
     {},
     {},
     {"【递增】修改方式的1级数值不能为小数！"}},
    {"a static value that is not a number",
     "write_static_text",
     "通用单选框",
     "",
     "1",
     "3",
     {},
     {"", "7"},
     {},
     {"未找到要修改的数据，脚本没有改变！"},
     // The grid shows the PT string in two rows.
     {"表格与脚本的数据个数不一致，脚本没有改变！"}},
    {"an empty bound",
     "both_copies",
     "刷图单选框",
     "增加单选框",
     "",
     "3",
     {"5", ""},
     {},
     {},
     {"等级区间请输入整数！"}},
    {"a decimal bound",
     "both_copies",
     "刷图单选框",
     "增加单选框",
     "1",
     "2.5",
     {"5", ""},
     {},
     {},
     {"等级区间请输入整数！"}},
    {"a bound of letters",
     "both_copies",
     "刷图单选框",
     "增加单选框",
     "a",
     "3",
     {"5", ""},
     {},
     {},
     {"等级区间请输入整数！"}},
    {"a range below the table",
     "both_copies",
     "刷图单选框",
     "增加单选框",
     "0",
     "0",
     {"5", ""},
     {},
     {},
     {"请把等级区间设在技能的等级之内！"}},
    {"a negative range",
     "both_copies",
     "PK单选框",
     "赋值单选框",
     "-3",
     "-1",
     {"5", ""},
     {},
     {},
     {"请把等级区间设在技能的等级之内！"}},
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
  *os << c.name;
}

using Refusals = CaseSession<RefusalCase>;

TEST_P(Refusals, ChangeNothingAndKeepTheInputs) {
  const RefusalCase& c = TheCase();
  {
    Run([&] {
      using namespace main_window;
      Open(c.stem, c.dataSet, c.mode);
      const std::string before = 编辑框1->Text();
      if (!c.bases.empty()) {
        // The base column is editable in this mode; an empty base is typed
        // as the empty text.
        for (std::size_t i = 0; i < c.bases.size(); ++i)
          h.EditCell(kMainWindow, "数据表格", static_cast<int>(i) + 1, 0, c.bases[i]);
      }
      TypeInputs(数据表格, c.inputs);
      TypeInputs(静态表格, c.staticInputs);
      SetRange(c.low, c.high);
      const std::vector<std::string> inputs = Column(数据表格, 1);
      const std::vector<std::string> staticInputs = Column(静态表格, 1);
      // Every refusal comes before the confirmation. The PT form's
      // empty-base message has a second exclamation mark.
      std::vector<std::string> messages = Save(c.messages.size());
      std::vector<std::string> expected =
          Form() == "PT" && !c.ptMessages.empty() ? c.ptMessages : c.messages;
      for (std::string& m : expected) {
        if (Form() == "PT" && m == "技能1级数据不能为空！") m += "！";
      }
      EXPECT_THAT(messages, ElementsAreArray(expected));
      EXPECT_EQ(编辑框1->Text(), before);
      EXPECT_EQ(Column(数据表格, 1), inputs);
      EXPECT_EQ(Column(静态表格, 1), staticInputs);
      EXPECT_EQ(Text(读取按钮), "释放数据");
      EXPECT_TRUE(编辑框1->Disabled());
      EXPECT_TRUE(fw::Get<fw::Radio>(kMainWindow, c.dataSet).Checked());
      EXPECT_EQ(Text(保存按钮), "保存修改");
    });
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Refusals,
                         ::testing::Combine(::testing::ValuesIn(kRefusals),
                                            ::testing::Values("SP", "PT")),
                         CaseName<RefusalCase>);

class FormSession : public ModifySession<const char*> {
 protected:
  std::string Form() const override { return GetParam(); }
};

using Cancel = FormSession;

TEST_P(Cancel, ChangesNothing) {
  Run([&] {
    using namespace main_window;
    Open("both_copies", "刷图单选框", "增加单选框");
    const std::string before = 编辑框1->Text();
    TypeInputs(数据表格, {"5", "5"});
    prompts.Cancel();
    EXPECT_TRUE(h.Click(kMainWindow, "保存按钮"));
    EXPECT_EQ(prompts.Shown().back().answer, 0);
    EXPECT_EQ(编辑框1->Text(), before);
    EXPECT_THAT(Column(数据表格, 1), ElementsAre("5", "5"));
    EXPECT_EQ(g_levelRangeLow, 1);
  });
}

TEST_P(Cancel, NoSkillReadIsRefused) {
  Run([&] { EXPECT_THAT(Click("保存按钮", 1), ElementsAre("请先读取一个技能数据！")); });
}

INSTANTIATE_TEST_SUITE_P(BothForms, Cancel, ::testing::Values("SP", "PT"), test_names::Text());

// ---- Without level data ------------------------------------------------------

using StaticOnly = FormSession;

TEST_P(StaticOnly, WritesAtOnceWithoutConfirmation) {
  Run([&] {
    using namespace main_window;
    Open("static_one_block", "", "", 1);  // "该技能没有随等级变化的数据！"
    const std::string before = 编辑框1->Text();
    TypeInputs(静态表格, {"", "-5", ""});
    EXPECT_THAT(Save(0), ElementsAre());
    EXPECT_EQ(编辑框1->Text(), WithStaticValues(before, Form(), Copy::First, {"250", "-5", "2"}));
    EXPECT_THAT(Column(静态表格), ElementsAre("250", "-5", "2"));
    EXPECT_EQ(Text(读取按钮), "释放数据");
  });
}

TEST_P(StaticOnly, RefusesANonInteger) {
  Run([&] {
    using namespace main_window;
    Open("static_one_block", "", "", 1);  // "该技能没有随等级变化的数据！"
    const std::string before = 编辑框1->Text();
    TypeInputs(静态表格, {"2.5"});
    EXPECT_THAT(Save(1), ElementsAre("静态数据只支持输入整数！"));
    EXPECT_EQ(编辑框1->Text(), before);
    EXPECT_THAT(Column(静态表格, 1), ElementsAre("2.5", "", ""));
  });
}

INSTANTIATE_TEST_SUITE_P(BothForms, StaticOnly, ::testing::Values("SP", "PT"), test_names::Text());

// ---- Where the blocks are written ---------------------------------------------

using Places = FormSession;

// The static block stands after the level table, which grows with the
// modification (and, SP, after a level property that the float patch
// lengthens): it is still written where it was read.
TEST_P(Places, AStaticBlockAfterTheLevelTableIsWrittenWhereItWasRead) {
  const bool sp = Form() == "SP";
  // `factor` is the level property's factor, `level` both level values and
  // `value` the static value.
  auto script = [&](const std::string& factor, const std::string& level,
                    const std::string& value) -> std::string {
    if (!sp) {
      return "[name]\r\n<12::earth_rend_name`x`>\t\r\n[type]\r\n`active`\t\r\n"
             "[level info]\r\n1\t" +
             level + "\t" + level + "\t\r\n[/level info]\r\n[static data]\r\n" + value +
             "\t\r\n[/static data]\r\n";
    }
    return "[@05][name]\r\n[@09]skillname.str\r\n[@0A]earth_rend_name\r\n[@05][type]\r\n"
           "[@07]active\r\n[@05][level property]\r\n[@02]0\r\n[@02]1\r\n"
           "[@09]skillname.str\r\n[@0A]no_such_key\r\n[@02]-1\r\n[@02]0\r\n[@04]" +
           factor + "\r\n[@05][/level property]\r\n[@05][level info]\r\n[@02]1\r\n[@02]" + level +
           "\r\n[@02]" + level + "\r\n[@05][/level info]\r\n[@05][static data]\r\n[@02]" + value +
           "\r\n[@05][/static data]\r\n";
  };
  Run([&] {
    using namespace main_window;
    PasteAndRead(script("0.00", "9", "5"));
    Click("通用单选框");
    Click("增加单选框");
    TypeInputs(数据表格, {"1"});
    TypeInputs(静态表格, {"7"});
    SetRange("1", "2");
    EXPECT_THAT(Save(1), ElementsAre("等级区间:1--2级"));
    EXPECT_EQ(编辑框1->Text(), script("0.001", "10", "7"));
    EXPECT_THAT(Column(静态表格), ElementsAre("7"));
  });
}

INSTANTIATE_TEST_SUITE_P(BothForms, Places, ::testing::Values("SP", "PT"), test_names::Text());

// ---- Small scripts written here ----------------------------------------------------

// A script of one common level table and one static value: PT `line` is the
// table's values line as the script holds it.
std::string PtScript(const std::string& line) {
  return "[name]\r\n<12::earth_rend_name`x`>\t\r\n[type]\r\n`active`\t\r\n[level info]\r\n" + line +
         "\r\n[/level info]\r\n[static data]\r\n5\t\r\n[/static data]\r\n";
}

// The same in either form, `values` level-major as the table holds them
// (SP without their "[@02]").
std::string SmallScript(std::string_view form, int perLevel,
                        const std::vector<std::string>& values) {
  if (form == "PT") {
    std::string line = std::to_string(perLevel) + "\t";
    for (const std::string& v : values) line += v + "\t";
    return PtScript(line);
  }
  std::string text =
      "[@05][name]\r\n[@09]skillname.str\r\n[@0A]earth_rend_name\r\n[@05][type]\r\n"
      "[@07]active\r\n[@05][level info]\r\n[@02]" +
      std::to_string(perLevel) + "\r\n";
  for (const std::string& v : values) text += "[@02]" + v + "\r\n";
  return text + "[@05][/level info]\r\n[@05][static data]\r\n[@02]5\r\n[@05][/static data]\r\n";
}

// ---- Stored integers beyond 32 bits ------------------------------------------------

// A stored integer that a modification reads (增加, 倍率, a base of 递增) is
// read whole: when it, or what the mode makes of it, does not fit 32 bits,
// the whole modification is refused before the confirmation. A value the
// modification does not touch, or only replaces (赋值), stays as it is.
struct WideCase {
  const char* name;
  const char* mode;
  std::vector<std::string> stored;  // two values per level, level-major
  const char* low;
  const char* high;
  std::vector<std::string> inputs;
  std::vector<std::string> after;  // the values after the modification; empty: refused
};

void PrintTo(const WideCase& c, std::ostream* os) {
  *os << c.name;
}

const std::vector<WideCase> kWide = {
    {"add 0 to 4294967296", "增加单选框", {"4294967296", "7", "10", "8"}, "1", "2", {"0", ""}, {}},
    {"multiply 99999999999 by 1",
     "倍率单选框",
     {"99999999999", "7", "10", "8"},
     "1",
     "2",
     {"1", ""},
     {}},
    {"add -5 to 99999999999",
     "增加单选框",
     {"99999999999", "7", "10", "8"},
     "1",
     "2",
     {"-5", ""},
     {}},
    {"add 0 to -99999999999",
     "增加单选框",
     {"-99999999999", "7", "10", "8"},
     "1",
     "2",
     {"0", ""},
     {}},
    {"a sum back inside 32 bits from a value beyond them",
     "增加单选框",
     {"10", "7", "2147483648", "8"},
     "1",
     "2",
     {"-1", ""},
     {}},
    {"a product of a value just below 32 bits",
     "倍率单选框",
     {"10", "7", "-2147483649", "8"},
     "2",
     "2",
     {"0.5", ""},
     {}},
    {"a level-1 base beyond 32 bits",
     "递增单选框",
     {"99999999999", "7", "10", "8"},
     "1",
     "2",
     {"1", ""},
     {}},
    {"values not touched stay as they are",
     "增加单选框",
     {"99999999999", "7", "-4294967296", "8"},
     "1",
     "2",
     {"", "1"},
     {"99999999999", "8", "-4294967296", "9"}},
    {"a level outside the range stays as it is",
     "倍率单选框",
     {"99999999999", "7", "10", "8"},
     "2",
     "2",
     {"3", ""},
     {"99999999999", "7", "30", "8"}},
    {"set replaces a value beyond 32 bits",
     "赋值单选框",
     {"99999999999", "7", "10", "8"},
     "1",
     "1",
     {"5", ""},
     {"5", "7", "10", "8"}},
};

using WideValues = CaseSession<WideCase>;

TEST_P(WideValues, AreReadWholeOrRefused) {
  const WideCase& c = TheCase();
  Run([&] {
    using namespace main_window;
    const std::string before = SmallScript(Form(), 2, c.stored);
    PasteAndRead(before);
    Click("通用单选框");
    Click(c.mode);
    TypeInputs(数据表格, c.inputs);
    SetRange(c.low, c.high);
    if (c.after.empty()) {
      EXPECT_THAT(Save(1), ElementsAre("修改后的数值超出整数范围，脚本没有改变！"));
      EXPECT_EQ(编辑框1->Text(), before);
      EXPECT_EQ(Text(读取按钮), "释放数据");
      EXPECT_THAT(Column(数据表格, 1), ElementsAreArray(c.inputs));
    } else {
      EXPECT_THAT(Save(1), ElementsAre(std::string("等级区间:") + c.low + "--" + c.high + "级"));
      EXPECT_EQ(编辑框1->Text(), SmallScript(Form(), 2, c.after));
    }
  });
}

INSTANTIATE_TEST_SUITE_P(Table, WideValues,
                         ::testing::Combine(::testing::ValuesIn(kWide),
                                            ::testing::Values("SP", "PT")),
                         CaseName<WideCase>);

// ---- The PT count token --------------------------------------------------------------

// The PT table is written where the reader read it: from its count token,
// which stays as it stands (the reader takes its leading number), followed
// by the values; a table that does not stand so is refused.
struct CountTokenCase {
  const char* name;
  std::string line;                 // the values line as the script holds it
  std::vector<std::string> inputs;  // 等于, level 1
  std::string after;                // the line after; empty: refused
};

void PrintTo(const CountTokenCase& c, std::ostream* os) {
  *os << c.name;
}

const std::vector<CountTokenCase> kCountTokens = {
    {"a blank after the count", "3 \t3\t3\t3\t3\t", {"9", "", ""}, "3 \t9\t3\t3\t3\t"},
    {"a letter after the count", "3x\t3\t3\t3\t", {"9", "", ""}, "3x\t9\t3\t3\t"},
    {"a leading zero", "03\t3\t3\t3\t", {"", "9", ""}, "03\t3\t9\t3\t"},
    {"a full-width count", "\xA3\xB3\t3\t3\t3\t", {"9", "", ""}, "\xA3\xB3\t9\t3\t3\t"},
    {"values apart by bars", "3\t3|3|3\t", {"9", "", ""}, ""},
};

class CountTokens : public ModifySession<CountTokenCase> {
 protected:
  std::string Form() const override { return "PT"; }
};

TEST_P(CountTokens, StayAsTheyStandBeforeTheWrittenValues) {
  const CountTokenCase& c = GetParam();
  Run([&] {
    using namespace main_window;
    const std::string before = PtScript(c.line);
    PasteAndRead(before);
    Click("通用单选框");
    EXPECT_EQ(g_valuesPerLevel, 3);
    TypeInputs(数据表格, c.inputs);
    SetRange("1", "1");
    if (c.after.empty()) {
      EXPECT_THAT(Save(1), ElementsAre("未找到要修改的数据，脚本没有改变！"));
      EXPECT_EQ(编辑框1->Text(), before);
    } else {
      EXPECT_THAT(Save(1), ElementsAre("等级区间:1--1级"));
      EXPECT_EQ(编辑框1->Text(), PtScript(c.after));
    }
  });
}

INSTANTIATE_TEST_SUITE_P(Table, CountTokens, ::testing::ValuesIn(kCountTokens),
                         [](const ::testing::TestParamInfo<CountTokenCase>& param) {
                           return test_names::Escaped(param.param.name);
                         });

// ---- Feedback ------------------------------------------------------------------

using Feedback = FormSession;

TEST_P(Feedback, HoldsInputForOneSecondWhileTheButtonShowsItsTicks) {
  Run([&] {
    using namespace main_window;
    Open("both_copies", "刷图单选框", "");
    TypeInputs(数据表格, {"1", ""});
    bool checked = false;
    const std::int64_t start = h.NowMs();
    h.Then(
        [&] {
          checked = true;
          EXPECT_EQ(Text(保存按钮), "√√√");
          EXPECT_TRUE(保存按钮->Disabled());
          EXPECT_FALSE(h.Click(kMainWindow, "读取按钮"));
          EXPECT_FALSE(h.Type(kMainWindow, "最低编辑框", "2"));
          ASSERT_FALSE(h.Log().empty());
          EXPECT_THAT(h.Log().back(), ::testing::StartsWith("sound"));
        },
        500);
    EXPECT_THAT(Save(1), ElementsAre("等级区间:1--3级"));
    EXPECT_TRUE(checked);
    EXPECT_GE(h.NowMs() - start, 1000);
    EXPECT_EQ(Text(保存按钮), "保存修改");
    EXPECT_FALSE(保存按钮->Disabled());
    EXPECT_TRUE(h.Click(kMainWindow, "读取按钮"));
  });
}

// While another level is shown, column 0 holds that level's values: the
// increment counts from the stored level-1 values.
TEST_P(Feedback, IncrementFromAnotherPageCountsFromLevelOne) {
  Run([&] {
    using namespace main_window;
    Open("both_copies", "刷图单选框", "递增单选框");
    const std::string before = 编辑框1->Text();
    Click("下一页按钮");
    EXPECT_THAT(Column(数据表格), ElementsAre("880", "440"));
    TypeInputs(数据表格, {"10", ""});
    EXPECT_THAT(Save(1), ElementsAre("等级区间:1--3级"));
    EXPECT_EQ(编辑框1->Text(), WithLevelValues(before, Form(), Copy::First, 2,
                                               {"800", "400", "810", "440", "820", "480"}));
  });
}

// Column 0 is headed "1级数值" on every page, but a base typed over another
// level's values is refused: the bases are typed on the level-1 page.
TEST_P(Feedback, IncrementRefusesBasesTypedOnAnotherPage) {
  Run([&] {
    using namespace main_window;
    Open("both_copies", "刷图单选框", "递增单选框");
    const std::string before = 编辑框1->Text();
    Click("下一页按钮");
    TypeInputs(数据表格, {"900", ""}, 0);
    TypeInputs(数据表格, {"10", ""});
    EXPECT_THAT(Save(1), ElementsAre("请回到第1级页面输入1级数值！"));
    EXPECT_EQ(编辑框1->Text(), before);
    EXPECT_THAT(Column(数据表格), ElementsAre("900", "440"));
    EXPECT_THAT(Column(数据表格, 1), ElementsAre("10", ""));
    EXPECT_EQ(Text(保存按钮), "保存修改");
  });
}

INSTANTIATE_TEST_SUITE_P(BothForms, Feedback, ::testing::Values("SP", "PT"), test_names::Text());

}  // namespace
}  // namespace read_test
