// Reading a script through the real widgets: a click removes the hint, the
// user pastes a script, presses 读取按钮, chooses the arena data set, pages,
// picks a mode and releases the skill. The Qt backend ends the process on
// the exit road, so the user acts in a child process (a death test) that
// ends with code 0 through 关闭按钮 when every check held, 3 otherwise.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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
  auto* g = W<QTableView>(grid);
  QStringList cells;
  for (int row = 1; row <= g->model()->rowCount(); ++row) cells << CellText(g, row, 0);
  return cells;
}

class ReadThroughWidgets : public ChildProgramTest {
 protected:
  void SetUp() override {
    ChildProgramTest::SetUp();
    std::string templ = (std::filesystem::temp_directory_path() / "se-gui-read-XXXXXX").string();
    ASSERT_NE(::mkdtemp(templ.data()), nullptr);
    folder_ = templ;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  // Writes a file of the scratch folder; returns its path.
  QString Write(const char* name, const std::string& bytes) const {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
    return QString::fromStdString((folder_ / name).string());
  }
  std::filesystem::path folder_;
};

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
                CHILD_CHECK(Locked(box));
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

                // Each mode relabels the grid; the screen shows the new
                // headers at once, not when the user next touches the grid.
                auto* grid = W<QTableView>("数据表格");
                const struct {
                  const char* radio;
                  const char* header0;
                  const char* header1;
                  QColor base;
                } modes[] = {
                    {"增加单选框", "技能原数值", "增加的数值", QColor(0xEC, 0xEC, 0xEC)},
                    {"倍率单选框", "技能原数值", "倍率", QColor(0xEC, 0xEC, 0xEC)},
                    {"递增单选框", "1级数值", "递增数值", QColor(255, 255, 255)},
                    {"赋值单选框", "技能原数值", "修改的数值", QColor(0xEC, 0xEC, 0xEC)},
                };
                for (const auto& mode : modes) {
                  Choose(mode.radio);
                  CHILD_CHECK(W<QLineEdit>("页数编辑框")->text() == Q("1"));
                  CHILD_CHECK(Column0("数据表格") == QStringList({"500", "250"}));
                  CHILD_CHECK(HeaderText(grid, 0) == Q(mode.header0));
                  CHILD_CHECK(HeaderText(grid, 1) == Q(mode.header1));
                  CHILD_CHECK(CellColour(grid, 1, 0) == mode.base);
                  CHILD_CHECK(ShowsItself(grid->horizontalHeader()));
                  CHILD_CHECK(ShowsItself(grid->viewport()));
                }

                Press("读取按钮");
                CHILD_CHECK(W<QPushButton>("读取按钮")->text() == Q("读取数据"));
                CHILD_CHECK(ShowsItself(W("读取按钮")));
                CHILD_CHECK(!Locked(box) && !box->isReadOnly());
                CHILD_CHECK(grid->model()->rowCount() == 0);
                CHILD_CHECK(!W("PK单选框")->isEnabled());
                CHILD_CHECK(W<QLabel>("技能名称标签")->text().isEmpty());
                CHILD_CHECK(model.Text() == script);
              }),
              ::testing::ExitedWithCode(0), "");
}

// A file with a zero byte before its end, dropped on the script box: the
// editor says it is no text script and leaves box, path and button alone
// (opened, its text would end at that byte, and a save would write the cut
// text over the file).
TEST_F(ReadThroughWidgets, AFileThatIsNoTextScriptIsRefused) {
  const std::string script = Utf8(Fixture("both_copies.pt.txt"));
  // The script as a Windows editor saves it in UTF-16, with its mark.
  std::string utf16 = "\xFF\xFE";
  for (char c : script) utf16 += std::string{c, '\0'};
  const QStringList files = {Write("utf16.skl", utf16),
                             Write("zero.skl", script.substr(0, 200) + '\0' + script.substr(200))};
  EXPECT_EXIT(
      RunEditor([&] {
        const std::string before = fw::Get<fw::Edit>("MainWindow", "编辑框1").Text();
        for (const QString& file : files) {
          bool dropped = false;
          const Answered answered = AnsweringPrompts(
              [&] { dropped = DropFiles(Win("MainWindow"), W("编辑框1"), {file}); }, true,
              file.endsWith("zero.skl") ? Q("refused_no_text_script") : QString());
          CHILD_CHECK(dropped);
          CHILD_CHECK(answered.Lines() ==
                      QStringList({"", Q("该文件不是文本技能脚本，请换一个技能文件！"), ""}));
          CHILD_CHECK(fw::Get<fw::Edit>("MainWindow", "编辑框1").Text() == before);
          CHILD_CHECK(W<QLineEdit>("路径编辑框")->text() == Q("*"));
          CHILD_CHECK(!W("保存文件按钮")->isEnabled());
          CHILD_CHECK(W<QPushButton>("读取按钮")->text() == Q("读取数据"));
        }
      }),
      ::testing::ExitedWithCode(0), "");
}

// Nothing empty is saved over a file: a box the user emptied is refused,
// and 清空 leaves the path box naming no file, so that a skill pasted next
// cannot be saved over the dropped file either.
TEST_F(ReadThroughWidgets, AnEmptiedOrClearedBoxIsNotSavedOverTheFile) {
  const std::string original = Utf8(Fixture("both_copies.pt.txt"));
  const QString file = Write("skill.skl", original);
  EXPECT_EXIT(
      RunEditor([&] {
        auto* box = W<QPlainTextEdit>("编辑框1");
        CHILD_CHECK(DropFiles(Win("MainWindow"), box, {file}));
        CHILD_CHECK(W<QLineEdit>("路径编辑框")->text() == file);
        Press("读取按钮");  // the drop read it: release it
        CHILD_CHECK(W<QPushButton>("读取按钮")->text() == Q("读取数据"));
        CHILD_CHECK(W("保存文件按钮")->isEnabled());

        // The user empties the box by hand and saves.
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        CHILD_CHECK(fw::Get<fw::Edit>("MainWindow", "编辑框1").Text().empty());
        CHILD_CHECK(AnsweringPrompts([] { Press("保存文件按钮"); }, true, Q("refused_empty_save"))
                        .Lines() ==
                    QStringList({"", Q("脚本框是空的，请先放入技能数据再保存！"), ""}));
        CHILD_CHECK(W<QPushButton>("保存文件按钮")->text() == Q("保存文件"));

        // 清空, then another skill pasted, read and released.
        Press("清空按钮");
        CHILD_CHECK(W<QLineEdit>("路径编辑框")->text() == Q("*"));
        CHILD_CHECK(!W("保存文件按钮")->isEnabled());
        QApplication::clipboard()->setText(QString::fromUtf8(Utf8(Fixture("both_copies.sp.txt"))));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        Press("读取按钮");
        CHILD_CHECK(W<QPushButton>("读取按钮")->text() == Q("释放数据"));
        Press("读取按钮");
        CHILD_CHECK(W("保存文件按钮")->isEnabled());
        CHILD_CHECK(AnsweringPrompts([] { Press("保存文件按钮"); }).Lines() ==
                    QStringList({"", Q("保存失败！"), ""}));
      }),
      ::testing::ExitedWithCode(0), "");
  std::ifstream in(folder_ / "skill.skl", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), original);
}

}  // namespace
