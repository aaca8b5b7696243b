// The description in 描述编辑框: what the choice of a data set and paging
// show for each fixture (every SP fixture and its PT twin alike), and the
// template rows of the embedded name table.
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/look.h"
#include "app/units.h"
#include "engine/description.h"
#include "platform/gbk.h"
#include "resources/embedded.h"
#include "tests/app/read_session.h"
#include "tests/test_names.h"

namespace read_test {
namespace {

using namespace app;
using platform::Gbk;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Strings = std::vector<std::string>;

constexpr fw::Colour K = kBlack, R = kRed, B = kBlue;
const std::string kRule(47, '-');

struct Line {
  std::string text;  // UTF-8
  fw::Colour colour;
  friend bool operator==(const Line&, const Line&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Line& l) {
    return os << l.text << " @" << std::hex << l.colour;
  }
};
using Lines = std::vector<Line>;

// The box's lines with the colour of each line's first character; the
// empty last line that the final CR LF leaves is not listed.
Lines BoxLines() {
  const fw::RichEdit& box = *main_window::描述编辑框;
  Lines lines;
  for (int i = 0; i < box.LineCount(); ++i) {
    std::string text = box.LineText(i);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (i == box.LineCount() - 1 && text.empty()) break;
    lines.push_back({Utf8(text), box.FormatAt(box.LineStart(i)).colour});
  }
  return lines;
}

Strings Utf8All(const std::vector<std::string>& gbk) {
  Strings out;
  for (const std::string& s : gbk) out.push_back(Utf8(s));
  return out;
}

Strings Spans() {
  return Utf8All(g_placeholderMap.Items());
}

struct FixtureCase {
  const char* stem;
  const char* radio;
  Lines lines;
  Strings spans;
};

// clang-format off
const std::vector<FixtureCase> kFixtureCases = {
    {"description_every_line_kind", "通用单选框",
     {{"双牙连击  Lv 1[通用]", K}, {kRule, K},
      {"第一击：120%  第二击：90%  第三击：150%", R},
      // A static and a level value: each from its own grid, blue by the first.
      {"出血伤害：40.5  每层叠加：3", B},
      {"攻击速度增加：2.5%", R},
      {"施放期间无法移动", K},
      {"霸体时间：1.5秒", B},  // factor 0 counts as 0.001
      {"觉醒后出血可叠加", K}},  // after the last value, still shown
     {"动态|1|2", "动态|2|2", "动态|3|2", "静态|1|3", "动态|4|3", "动态|5|4", "静态|2|6"}},
    {"single_level_info_dungeon", "刷图单选框",
     {{"崩嶽斩  Lv 1[地下城]", K}, {kRule, K},
      {"挥剑劈开山嶽，造成120%的物理伤害", R}, {"冲击波范围：150", R}, {"击倒时间：1秒", B}},
     {"动态|1|2", "动态|2|3", "静态|1|4"}},
    {"single_level_info_common", "通用单选框",
     {{"碎岩拳  Lv 1[通用]", K}, {kRule, K},
      {"拳击伤害：220%", R}, {"碎石伤害：60%  碎石数量：3个", R}},
     {"动态|1|2", "动态|2|3", "动态|3|3"}},
    {"both_copies", "PK单选框",
     {{"重炮轰击  Lv 1[决斗场]", K}, {kRule, K},
      {"炮弹伤害：500%", R}, {"炮击后炮管进入过热状态", K}, {"爆炸伤害：250%", R},
      {"冷却完成前无法再次装填", K}},
     {"动态|1|2", "动态|2|4"}},
    {"description_without_values", "通用单选框",
     {{"双持格挡  Lv 1[通用]", K}, {kRule, K}, {"成功格挡后立即反击一次", K}, {"反击不会被打断", K}},
     {}},
    // No [level property]: the heading alone.
    {"gbk_trail_bracket", "通用单选框", {{"幻影剑舞  Lv 1[通用]", K}, {kRule, K}}, {}},
    {"description_too_many_placeholders", "通用单选框", {{"描述加载出错！", K}}, {}},
};
// clang-format on

void PrintTo(const FixtureCase& c, std::ostream* os) {
  *os << c.stem;
}

class DescriptionFixtureTest : public ReadSessionWith<CaseAndForm<FixtureCase>> {};

TEST_P(DescriptionFixtureTest, ChoosingTheDataSetRendersLevelOne) {
  const auto& [c, form] = GetParam();
  Run([&] {
    PasteAndRead(Fixture(c.stem, form));
    Click(c.radio);
    EXPECT_THAT(BoxLines(), ElementsAreArray(c.lines));
    EXPECT_THAT(Spans(), ElementsAreArray(c.spans));
    const fw::CharFormat f = main_window::描述编辑框->FormatAt(0);
    EXPECT_EQ(Utf8(f.face), "宋体");
    EXPECT_EQ(f.points, 9);
    EXPECT_FALSE(f.bold || f.italic || f.underline || f.strikeOut || f.isProtected);
  });
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DescriptionFixtureTest, OverBothForms(kFixtureCases),
                         StemAndForm<FixtureCase>);

class DescriptionTest : public ReadSessionWith<const char*> {};

TEST_P(DescriptionTest, EveryPageRendersItsValuesAndAppendsTheSameSpansAgain) {
  Run([&] {
    PasteAndRead(Fixture("description_every_line_kind", GetParam()));
    Click("通用单选框");
    const Strings first = Spans();
    Click("下一页按钮");
    Lines lines = BoxLines();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].text, "双牙连击  Lv 2[通用]");
    EXPECT_EQ(lines[2].text, "第一击：130%  第二击：100%  第三击：165%");
    EXPECT_EQ(lines[3].text, "出血伤害：40.5  每层叠加：3.3");
    EXPECT_EQ(lines[4].text, "攻击速度增加：3.5%");
    Strings twice = first;
    twice.insert(twice.end(), first.begin(), first.end());
    EXPECT_THAT(Spans(), ElementsAreArray(twice));

    // A mode change shows level 1 again; a release empties box and spans.
    Click("递增单选框");
    EXPECT_EQ(BoxLines()[0].text, "双牙连击  Lv 1[通用]");
    Click("读取按钮");
    EXPECT_EQ(main_window::描述编辑框->Text(), "");
    EXPECT_TRUE(g_placeholderMap.Empty());
  });
}

TEST_P(DescriptionTest, ValuesComeFromColumnZeroAsRead) {
  Run([&] {
    PasteAndRead(Fixture("single_level_info_dungeon", GetParam()));
    Click("刷图单选框");
    h.EditCell(kMainWindow, "数据表格", 1, 1, "9999");  // the user's input
    Click("跳转按钮");
    EXPECT_EQ(BoxLines()[2].text, "挥剑劈开山嶽，造成120%的物理伤害");
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, DescriptionTest, ::testing::Values("SP", "PT"), test_names::Text());

TEST(DescriptionTemplate, TheRowThatBeginsWithTheKeyInAnyLetterCase) {
  const std::string_view table = EmbeddedSkillNameTable();
  // A comment row that holds the bracketed key comes first; it is no row of it.
  EXPECT_EQ(Utf8(DescriptionTemplate(table, "twin_fang_level_property")).substr(0, 9), "第一击");
  EXPECT_EQ(Utf8(DescriptionTemplate(table, "TWIN_FANG_LEVEL_PROPERTY")).substr(0, 9), "第一击");
  EXPECT_EQ(DescriptionTemplate(table, ""), "");
  EXPECT_EQ(DescriptionTemplate(table, "no_such_key"), "");
  EXPECT_EQ(DescriptionTemplate("<a>x\r\n<ab>y", "ab"), "y");
}

}  // namespace
}  // namespace read_test
