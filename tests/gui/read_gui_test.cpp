// Reading a script through the real widgets: a click removes the hint, the
// user pastes a script, presses 读取按钮, chooses the arena data set, pages,
// picks a mode and releases the skill. The Qt backend ends the process on
// the exit road, so the user acts in a child process (a death test) that
// ends with code 0 through 关闭按钮 when every check held, 3 otherwise.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "app/globals.h"
#include "app/program.h"
#include "app/units.h"
#include "child_program.h"
#include "gui_fixture.h"

namespace {

using namespace gui_test;

// Column 0 of the data rows of a grid as the widget shows them (its header
// row is the widget's horizontal header).
QStringList Column0(std::string_view grid) {
  auto* g = W<QTableWidget>(grid);
  QStringList cells;
  for (int row = 0; row < g->rowCount(); ++row) {
    cells << (g->item(row, 0) != nullptr ? g->item(row, 0)->text() : QString());
  }
  return cells;
}

class ReadThroughWidgets : public ChildProgramTest {};

TEST_F(ReadThroughWidgets, PasteReadChoosePageAndRelease) {
  EXPECT_EXIT(RunEditor([] {
                const std::string script = Fixture("both_copies.sp.txt");
                auto* box = W<QPlainTextEdit>("编辑框1");
                auto& model = fw::Get<fw::Edit>("MainWindow", "编辑框1");
                QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(30, 30));
                CHILD_CHECK(model.Text().empty());  // the hint is gone
                QApplication::clipboard()->setText(QString::fromUtf8(Utf8(script)));
                QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
                CHILD_CHECK(model.Text() == script);

                Press("读取按钮");
                CHILD_CHECK(W<QPushButton>("读取按钮")->text() == Q("释放数据"));
                CHILD_CHECK(!box->isEnabled());
                CHILD_CHECK(W<QLabel>("技能名称标签")->text() == Q("重炮轰击"));
                CHILD_CHECK(W<QLabel>("职业标签")->text() == Q("神枪手(男)"));
                CHILD_CHECK(W("刷图单选框")->isEnabled() && W("PK单选框")->isEnabled());
                CHILD_CHECK(!W("通用单选框")->isEnabled());

                Choose("PK单选框");
                CHILD_CHECK(W<QRadioButton>("PK单选框")->isChecked());
                CHILD_CHECK(Column0("数据表格") == QStringList({"500", "250"}));
                CHILD_CHECK(Column0("静态表格") == QStringList({"20", "3"}));
                CHILD_CHECK(W<QLabel>("等级标签")->text() == Q("3"));
                CHILD_CHECK(W<QLabel>("静态类型标签")->text() == Q("决斗场"));
                CHILD_CHECK(W<QRadioButton>("赋值单选框")->isChecked());
                // A picture of the editor holding a skill, for a person to look at.
                QDir().mkpath(QStringLiteral(SE_SCREENSHOT_DIR));
                CHILD_CHECK(Win("MainWindow")
                                ->grab()
                                .toImage()
                                .save(QStringLiteral(SE_SCREENSHOT_DIR "/main_window_read.png")));

                Press("下一页按钮");
                CHILD_CHECK(W<QLineEdit>("页数编辑框")->text() == Q("2"));
                CHILD_CHECK(Column0("数据表格") == QStringList({"540", "270"}));

                Choose("递增单选框");
                CHILD_CHECK(W<QLineEdit>("页数编辑框")->text() == Q("1"));
                CHILD_CHECK(Column0("数据表格") == QStringList({"500", "250"}));
                auto* grid = W<QTableWidget>("数据表格");
                CHILD_CHECK(grid->horizontalHeaderItem(0)->text() == Q("1级数值"));
                CHILD_CHECK(grid->horizontalHeaderItem(1)->text() == Q("递增数值"));

                Press("读取按钮");
                CHILD_CHECK(W<QPushButton>("读取按钮")->text() == Q("读取数据"));
                CHILD_CHECK(box->isEnabled());
                CHILD_CHECK(grid->rowCount() == 0);
                CHILD_CHECK(!W("PK单选框")->isEnabled());
                CHILD_CHECK(W<QLabel>("技能名称标签")->text().isEmpty());
                CHILD_CHECK(model.Text() == script);
              }),
              ::testing::ExitedWithCode(0), "");
}

}  // namespace
