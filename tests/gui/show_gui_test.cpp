// Showing a skill through the real widgets: the coloured description, a
// click on one of its lines that paints the grid rows its values come from,
// the class choice of a shared skill, and a side window sliding shut and
// open. The user acts in a child process (a death test) that ends with code
// 0 through 关闭按钮 when every check held, 3 otherwise.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include "app/units.h"
#include "child_program.h"
#include "gui_fixture.h"

namespace {

using namespace gui_test;

// Pastes a script into the script box as the user does and reads it.
void PasteAndRead(const char* fixture) {
  auto* box = W<QPlainTextEdit>("编辑框1");
  QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(30, 30));  // the hint goes
  QApplication::clipboard()->setText(QString::fromUtf8(Utf8(Fixture(fixture))));
  QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  Press("读取按钮");
}

// The data rows of a grid widget whose first cell shows the highlight red.
QList<int> Painted(std::string_view grid) {
  auto* g = W<QTableView>(grid);
  QList<int> rows;
  for (int row = 1; row <= g->model()->rowCount(); ++row) {
    if (CellColour(g, row, 0) == QColor(255, 0, 0)) rows << row;
  }
  return rows;
}

// The text colour of the first character of each line of the description.
QList<QColor> LineColours(QTextEdit* box) {
  QList<QColor> colours;
  for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next()) {
    if (b.text().isEmpty()) continue;
    colours << b.begin().fragment().charFormat().foreground().color();
  }
  return colours;
}

// Clicks the description widget on a character of line `line`.
void ClickLine(QTextEdit* box, int line) {
  QTextCursor c(box->document()->findBlockByNumber(line));
  c.movePosition(QTextCursor::NextCharacter);
  const QPoint at = box->cursorRect(c).center();
  QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, at);
}

class ShowThroughWidgets : public ChildProgramTest {};

TEST_F(ShowThroughWidgets, AClickOnADescriptionLinePaintsTheRowsOfItsValues) {
  EXPECT_EXIT(RunEditor([] {
                PasteAndRead("description_every_line_kind.pt.txt");
                Choose("通用单选框");
                auto* box = W<QTextEdit>("描述编辑框");
                const QStringList lines = box->toPlainText().split('\n');
                CHILD_CHECK(lines.value(0) == Q("双牙连击  Lv 1[通用]"));
                CHILD_CHECK(lines.value(3) == Q("出血伤害：40.5  每层叠加：3"));
                const QColor black(0, 0, 0), red(255, 0, 0), blue(0, 0, 255);
                CHILD_CHECK(LineColours(box) ==
                            QList<QColor>({black, black, red, blue, red, black, blue, black}));

                ClickLine(box, 3);  // a static and a level value
                CHILD_CHECK(Painted("数据表格") == QList<int>({4}));
                CHILD_CHECK(Painted("静态表格") == QList<int>({1}));
                CHILD_CHECK(box->textCursor().selectedText() ==
                            Q("出血伤害：40.5  每层叠加：3") + QChar(0x2029));
                QDir().mkpath(QStringLiteral(SE_SCREENSHOT_DIR));
                CHILD_CHECK(Win("MainWindow")
                                ->grab()
                                .toImage()
                                .save(QStringLiteral(SE_SCREENSHOT_DIR "/description_click.png")));

                ClickLine(box, 2);  // three level values; the earlier paint goes
                CHILD_CHECK(Painted("数据表格") == QList<int>({1, 2, 3}));
                CHILD_CHECK(Painted("静态表格").isEmpty());
                ClickLine(box, 0);  // the heading
                CHILD_CHECK(Painted("数据表格").isEmpty());
              }),
              ::testing::ExitedWithCode(0), "");
}

TEST_F(ShowThroughWidgets, TheClassChoiceAndTheSlideOfASideWindow) {
  EXPECT_EXIT(RunEditor([] {
                PasteAndRead("mastery_all_classes.sp.txt");
                auto* combo = gui_test::W<QComboBox>("MasteryLevelWindow", "全职业组合框");
                auto* mastery = gui_test::W<QTableView>("MasteryLevelWindow", "精通表格");
                CHILD_CHECK(combo->isVisible());
                CHILD_CHECK(combo->count() == 10);
                CHILD_CHECK(combo->currentText() == Q("请选择一个职业"));
                CHILD_CHECK(mastery->model()->rowCount() == 0);
                combo->setFocus();
                for (int i = 0; i < 6; ++i) QTest::keyClick(combo, Qt::Key_Down);  // to 圣职者
                CHILD_CHECK(combo->currentText() == Q("圣职者"));
                CHILD_CHECK(mastery->model()->rowCount() == 5);
                CHILD_CHECK(CellText(mastery, 2, 0) == Q("圣骑士"));

                QWidget* params = Win("SkillParamWindow");
                CHILD_CHECK(params->isVisible() && params->width() == 173);
                Press("参数窗口按钮");
                CHILD_CHECK(!params->isVisible());
                Press("参数窗口按钮");
                CHILD_CHECK(params->isVisible() && params->width() == 173);
                CHILD_CHECK(params->pos() == QPoint(627, 125));
              }),
              ::testing::ExitedWithCode(0), "");
}

}  // namespace
