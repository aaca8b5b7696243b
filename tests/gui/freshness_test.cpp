// Every change the program makes to a model shows on the screen at once:
// after the change, once Qt has painted what was due, what the window's
// backing store holds for the unit's widget is what the widget paints
// afresh. A view that changed its widget's data without telling the widget
// to repaint keeps showing the old picture until the user touches it.
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QTableView>

#include <ostream>

#include <functional>
#include <string>

#include "forms.h"
#include "framework/units.h"

namespace {

using namespace gui_test;

constexpr fw::Colour kRed = 0x000000FFu;
constexpr fw::Colour kBlue = 0x00FF0000u;
constexpr fw::Colour kGrey = 0x00ECECECu;

fw::WindowDef ShowForm() {
  return fw::WindowDef("Show", "显示", 520, 360)
      .At(20, 20)
      .InTaskbar()
      .Units({
          fw::LabelUnit("标签", {10, 10, 160, 24}, "标签"),
          fw::ButtonUnit("按钮", {10, 40, 80, 26}, "按钮"),
          fw::SuperButtonUnit("超级按钮", {100, 40, 80, 26}, "超级"),
          fw::GroupBoxUnit("组", {10, 80, 170, 60}, "组"),
          fw::RadioBox("单选", {10, 20, 80, 20}, "单选").In("组"),
          fw::ComboBox("列表", {10, 150, 170, 24}),
          fw::EditBox("行", {10, 180, 170, 24}, "行"),
          fw::EditBox("多行", {10, 210, 170, 60}, "多行").Multiline(),
          fw::RichEditBox("说明", {10, 280, 170, 60}, "说明"),
          fw::TabsUnit("页", {190, 250, 160, 100}, {"一", "二"}),
          fw::GridUnit("表格", {190, 10, 320, 230}),
      })
      .Bind({});
}

struct ShowCase {
  const char* name;
  const char* unit;
  std::function<void()> change;
  // The widget whose picture must show the change (default: the unit's).
  std::function<QWidget*(QWidget*)> part;
};

void PrintTo(const ShowCase& c, std::ostream* out) {
  *out << c.name;
}

fw::Grid& Table() {
  return fw::Get<fw::Grid>("Show", "表格");
}

QWidget* Header(QWidget* w) {
  return static_cast<QTableView*>(w)->horizontalHeader();
}
QWidget* Cells(QWidget* w) {
  return static_cast<QTableView*>(w)->viewport();
}

const ShowCase kShowCases[] = {
    {"LabelCaption", "标签", [] { fw::GetControl("Show", "标签").SetText(Gbk("新的标签")); }, {}},
    {"LabelTextColour", "标签", [] { fw::GetControl("Show", "标签").SetTextColour(kRed); }, {}},
    {"LabelBackColour", "标签", [] { fw::GetControl("Show", "标签").SetBackColour(kBlue); }, {}},
    {"ButtonCaption", "按钮", [] { fw::GetControl("Show", "按钮").SetText(Gbk("√√√")); }, {}},
    {"ButtonDisabled", "按钮", [] { fw::GetControl("Show", "按钮").Disable(); }, {}},
    {"SuperButtonCaption",
     "超级按钮",
     [] { fw::GetControl("Show", "超级按钮").SetText(Gbk("新")); },
     {}},
    {"GroupCaption", "组", [] { fw::GetControl("Show", "组").SetText(Gbk("新组")); }, {}},
    {"RadioChecked", "单选", [] { fw::Get<fw::Radio>("Show", "单选").SetChecked(true); }, {}},
    {"ComboItems",
     "列表",
     [] {
       auto& c = fw::Get<fw::Combo>("Show", "列表");
       c.AddItem(Gbk("鬼剑士"), 0);
       c.SetCurrent(0);
     },
     {}},
    {"LineEditText", "行", [] { fw::GetControl("Show", "行").SetText("123"); }, {}},
    {"TextEditText", "多行", [] { fw::GetControl("Show", "多行").SetText("a\r\nb"); }, {}},
    {"RichEditText", "说明", [] { fw::GetControl("Show", "说明").SetText(Gbk("新说明")); }, {}},
    {"TabsCurrent", "页", [] { fw::Get<fw::Tabs>("Show", "页").SetCurrent(1); }, {}},
    {"GridHeaderText", "表格", [] { Table().SetCellText(0, 1, Gbk("递增数值")); }, &Header},
    {"GridHeaderColour", "表格", [] { Table().SetBackColour(fw::CellRange::Cell(0, 0), kRed); },
     &Header},
    {"GridCellText", "表格", [] { Table().SetCellText(2, 1, "77"); }, &Cells},
    {"GridCellBackColour", "表格",
     [] { Table().SetBackColour(fw::CellRange::Rows(1, 3, 0), kGrey); }, &Cells},
    {"GridCellTextColour", "表格", [] { Table().SetTextColour(fw::CellRange::Cell(1, 0), kBlue); },
     &Cells},
    {"GridRowAppended", "表格", [] { Table().AppendRow("40"); }, &Cells},
    {"GridRowDeleted", "表格", [] { Table().DeleteRow(1); }, &Cells},
    {"GridRowsCleared", "表格", [] { Table().DeleteDataRows(); }, &Cells},
};

class Freshness : public GuiTest, public ::testing::WithParamInterface<ShowCase> {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    fw::RegisterForm(ShowForm());
    ASSERT_TRUE(fw::GetWindow("Show").Load());
    fw::Grid& g = Table();
    g.SetCellText(0, 0, Gbk("技能原数值"));
    g.SetCellText(0, 1, Gbk("修改的数值"));
    for (const char* v : {"10", "20", "30"}) g.AppendRow(v);
    // No caret blinks while the pictures are compared.
    if (QWidget* f = QApplication::focusWidget()) f->clearFocus();
    OnScreen(WindowWidget("Show"));
  }
};

TEST_P(Freshness, TheScreenShowsTheChangeAtOnce) {
  const ShowCase& c = GetParam();
  QWidget* w = Widget("Show", c.unit);
  ASSERT_NE(w, nullptr);
  QWidget* part = c.part ? c.part(w) : w;
  const QImage before = OnScreen(part);
  ASSERT_TRUE(ShowsItself(part)) << "the widget was stale before the change";
  c.change();
  EXPECT_NE(OnScreen(part), before) << "the change shows nothing";
  EXPECT_TRUE(ShowsItself(part)) << "the screen still shows the old picture";
}

INSTANTIATE_TEST_SUITE_P(Units, Freshness, ::testing::ValuesIn(kShowCases),
                         [](const auto& test) { return std::string(test.param.name); });

}  // namespace
