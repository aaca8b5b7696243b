// A click on a description line selects the line and paints the grid rows
// its values come from; a click in either grid takes the paint away.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/globals.h"
#include "app/highlight.h"
#include "app/look.h"
#include "app/read_type.h"
#include "app/units.h"
#include "platform/gbk.h"
#include "read_session.h"
#include "tests/test_names.h"

namespace read_test {
namespace {

using namespace app;
using platform::Gbk;
using ::testing::ElementsAre;
using Rows = std::vector<int>;

// The data rows of a grid whose column 0 is painted red.
Rows Painted(fw::Ref<fw::Grid> grid) {
  Rows rows;
  for (int r = 1; r < grid->RowCount(); ++r) {
    if (grid->CellBackColour(r, 0) == kRed) rows.push_back(r);
  }
  return rows;
}

// Every data row of a grid has column 0 in `colour`.
bool AllBase(fw::Ref<fw::Grid> grid, fw::Colour colour) {
  for (int r = 1; r < grid->RowCount(); ++r) {
    if (grid->CellBackColour(r, 0) != colour) return false;
  }
  return true;
}

class HighlightTest : public ReadSessionWith<const char*> {
 protected:
  // description_every_line_kind, level 1 of its common set: line 2 holds
  // three level values, line 3 a static and a level value, line 4 one
  // level value, line 5 none, line 6 one static value.
  void ShowDescription() {
    PasteAndRead(Fixture("description_every_line_kind", GetParam()));
    Click("通用单选框");
  }
  void ClickLine(int line, int offset = 1) {
    const fw::RichEdit& box = *main_window::描述编辑框;
    ASSERT_TRUE(h.ClickRichEdit(kMainWindow, "描述编辑框", box.LineStart(line) + offset));
  }
};

TEST_P(HighlightTest, AClickedLinePaintsTheRowsOfItsValuesOnly) {
  struct Case {
    int line;
    Rows level;
    Rows statics;
  };
  const Case cases[] = {
      {0, {}, {}},         // the heading
      {2, {1, 2, 3}, {}},  // three level values
      {3, {4}, {1}},       // one value from each grid
      {5, {}, {}},         // a line without values
      {6, {}, {2}},        // a static value
      {4, {5}, {}},
  };
  Run([&] {
    using namespace main_window;
    ShowDescription();
    for (const Case& c : cases) {
      SCOPED_TRACE(c.line);
      ClickLine(c.line);
      EXPECT_EQ(Painted(数据表格), c.level);
      EXPECT_EQ(Painted(静态表格), c.statics);
      // The whole line is selected, its line break included.
      const fw::RichEdit& box = *描述编辑框;
      EXPECT_EQ(box.SelStart(), box.LineStart(c.line));
      EXPECT_EQ(box.SelLength(), box.LineStart(c.line + 1) - box.LineStart(c.line));
    }
    // A click in either grid takes the paint away.
    ClickLine(3);
    h.ClickCell(kMainWindow, "静态表格", 2, 1);
    EXPECT_TRUE(AllBase(数据表格, kReadOnlyCellColour));
    EXPECT_TRUE(AllBase(静态表格, kReadOnlyCellColour));
    ClickLine(2);
    h.EditCell(kMainWindow, "数据表格", 1, 1, "5");
    EXPECT_TRUE(Painted(数据表格).empty());
  });
}

TEST_P(HighlightTest, PagingKeepsThePaintAndTheResetFollowsTheMode) {
  Run([&] {
    using namespace main_window;
    ShowDescription();
    Click("下一页按钮");  // the spans of two pages name the same rows
    ClickLine(2);
    EXPECT_THAT(Painted(数据表格), ElementsAre(1, 2, 3));
    Click("下一页按钮");
    EXPECT_THAT(Painted(数据表格), ElementsAre(1, 2, 3));
    // In the increment mode the bases are white, and a reset keeps them so.
    Click("递增单选框");
    ClickLine(6);
    EXPECT_TRUE(AllBase(数据表格, kEditableCellColour));
    EXPECT_THAT(Painted(静态表格), ElementsAre(2));
  });
}

TEST_P(HighlightTest, SpansOutsideTheGridsOrCutShortAreIgnored) {
  Run([&] {
    using namespace main_window;
    ShowDescription();
    for (const char* span :
         {"动态|0|2", "动态|6|2", "动态|99999|2", "静态|-1|2", "动态|2", "静态"}) {
      g_placeholderMap.Append(Gbk(span));
    }
    ClickLine(2);
    EXPECT_THAT(Painted(数据表格), ElementsAre(1, 2, 3));
    EXPECT_TRUE(Painted(静态表格).empty());
    EXPECT_EQ(数据表格->CellBackColour(0, 0), fw::kDefaultColour);  // the header stays
    // After a release the box is empty and a click paints nothing.
    Click("读取按钮");
    EXPECT_TRUE(h.ClickRichEdit(kMainWindow, "描述编辑框", 0));
    EXPECT_EQ(数据表格->RowCount(), 1);
  });
}

INSTANTIATE_TEST_SUITE_P(Forms, HighlightTest, ::testing::Values("SP", "PT"), test_names::Text());

TEST(AdjustCaretPositionForGbk, CountsCharactersAsTheBoxDoes) {
  struct Case {
    std::string line;
    int length;
  };
  const Case cases[] = {
      {"", 0},
      {"a", 1},
      {"ab\r", 3},
      {Gbk("描述之") + "\r", 4},  // three characters and the line break
      {Gbk("描述"), 2},
      {"a" + Gbk("值") + "b\r", 4},
      {Gbk("值") + ":12%\r", 6},
      {std::string("a\x80") + "b\r", 4},  // the euro sign is a character of one byte
      {std::string("a\xFF") + "b\r", 4},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AdjustCaretPositionForGbk(c.line), c.length) << Utf8(c.line);
  }
}

TEST(RowsOfLine, TakesEverySpanOfTheLineInOrder) {
  const std::vector<std::string> spans = {Gbk("动态|3|2"), Gbk("静态|1|2"), Gbk("动态|4|3"),
                                          Gbk("动态|5"),   Gbk("静态|7|2"), ""};
  EXPECT_THAT(RowsOfLine(spans, 2),
              ElementsAre(SpanRow{true, 3}, SpanRow{false, 1}, SpanRow{false, 7}));
  EXPECT_THAT(RowsOfLine(spans, 3), ElementsAre(SpanRow{true, 4}));
  EXPECT_TRUE(RowsOfLine(spans, 0).empty());
}

}  // namespace
}  // namespace read_test
