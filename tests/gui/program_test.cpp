// The real program through the real widgets. The Qt backend ends the
// process on the exit road, so each run happens in a child process (a
// death test) that acts as the user: it checks what it sees, types, and
// closes the editor through 关闭按钮; the test then checks the child's exit
// code. A failed check ends the child with code 3 and prints what failed.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <set>

#include "app/program.h"
#include "app/prompt.h"
#include "app/units.h"
#include "child_program.h"
#include "gui_fixture.h"

namespace {

using namespace gui_test;

class Program : public ChildProgramTest {};

void CheckStartState() {
  QWidget* main = Win("MainWindow");
  CHILD_CHECK(main != nullptr && main->isVisible());
  CHILD_CHECK(main->isWindow() && (main->windowFlags() & Qt::FramelessWindowHint));
  CHILD_CHECK(main->size() == QSize(961, 597));
  CHILD_CHECK(main->windowTitle() == Q("Varnok技能数据批量修改工具 Ver1.6.3"));

  auto* title = W<QLabel>("MainWindow", "标签14");
  CHILD_CHECK(title->text() == Q(" Varnok技能数据批量修改工具 Ver1.7.1"));
  CHILD_CHECK(title->palette().color(QPalette::Window) == QColor(128, 0, 128));
  CHILD_CHECK(title->palette().color(QPalette::WindowText) == QColor(255, 255, 255));
  CHILD_CHECK(title->font().bold());
  CHILD_CHECK(title->font().family() == fw::qt::CjkFamily());
  for (const char* border : {"标签15", "标签16", "标签17"}) {
    CHILD_CHECK(W<QLabel>("MainWindow", border)->palette().color(QPalette::Window) ==
                QColor(128, 0, 128));
  }
  CHILD_CHECK(W("MainWindow", "最小化按钮")->isVisible());
  CHILD_CHECK(W("MainWindow", "关闭按钮")->geometry() == QRect(929, 0, 24, 24));

  auto* script = W<QPlainTextEdit>("MainWindow", "编辑框1");
  CHILD_CHECK(script->isEnabled() && !Locked(script));
  CHILD_CHECK(script->toPlainText().startsWith(Q("\n拖放技能数据文件到此处")));
  CHILD_CHECK(W<QPushButton>("MainWindow", "读取按钮")->text() == Q("读取数据"));
  CHILD_CHECK(!W("MainWindow", "保存文件按钮")->isEnabled());
  CHILD_CHECK(!W("MainWindow", "变换按钮")->isEnabled());
  for (const char* radio : {"通用单选框", "刷图单选框", "PK单选框", "增加单选框", "赋值单选框",
                            "递增单选框", "倍率单选框"}) {
    auto* r = W<QRadioButton>("MainWindow", radio);
    CHILD_CHECK(r != nullptr && !r->isEnabled() && r->isVisible());
  }
  CHILD_CHECK(W<QLineEdit>("MainWindow", "路径编辑框")->text() == Q("*"));
  for (const char* box : {"页数编辑框", "最低编辑框", "最高编辑框"}) {
    CHILD_CHECK(W<QLineEdit>("MainWindow", box)->text() == Q("1"));
  }
  for (const char* grid : {"数据表格", "静态表格"}) {
    auto* g = W<QTableView>("MainWindow", grid);
    CHILD_CHECK(g->model()->rowCount() == 0);
    CHILD_CHECK(HeaderText(g, 0) == Q("技能原数值"));
    CHILD_CHECK(HeaderText(g, 1) == Q("修改的数值"));
  }
  // The legend: its two keywords red and blue, the rest automatic.
  auto* legend = W<QTextEdit>("MainWindow", "标签编辑框");
  CHILD_CHECK(legend->toPlainText() == Q("技能描述(红色-动态，蓝色-静态)"));
  QTextCursor c(legend->document());
  c.setPosition(6);
  CHILD_CHECK(c.charFormat().foreground().color() == QColor(255, 0, 0));
  c.setPosition(12);
  CHILD_CHECK(c.charFormat().foreground().color() == QColor(0, 0, 255));
  c.setPosition(2);
  CHILD_CHECK(c.charFormat().foreground().style() == Qt::NoBrush);
  CHILD_CHECK(
      W<QTextEdit>("MainWindow", "描述编辑框")->toPlainText().startsWith(Q("技能描述加载完后")));
  // The side windows are child widgets of the main window.
  for (const char* side : {"SkillParamWindow", "MasteryLevelWindow"}) {
    QWidget* s = Win(side);
    CHILD_CHECK(s != nullptr && s->parentWidget() == main && s->isVisible());
  }
  CHILD_CHECK(Win("SkillParamWindow")->pos() == QPoint(627, 125));
}

TEST_F(Program, StartsInTheReadStateAndClosesWithCodeZero) {
  EXPECT_EXIT(RunEditor([] { CheckStartState(); }), ::testing::ExitedWithCode(0), "");
}

// The script box emptied, with the caret in it.
QPlainTextEdit* IntoTheEmptiedScriptBox() {
  auto* script = W<QPlainTextEdit>("MainWindow", "编辑框1");
  fw::Get<fw::Edit>("MainWindow", "编辑框1").SetText("");
  QTest::mouseClick(script->viewport(), Qt::LeftButton, {}, QPoint(30, 30));
  return script;
}

TEST_F(Program, TypedScriptReachesTheModelWithItsCrLf) {
  EXPECT_EXIT(RunEditor([] {
                auto* script = IntoTheEmptiedScriptBox();
                auto& model = fw::Get<fw::Edit>("MainWindow", "编辑框1");
                QTest::keyClicks(script, "[name]");
                QTest::keyClick(script, Qt::Key_Return);
                QTest::keyClicks(script, "`x`");
                QTest::keyClick(script, Qt::Key_Return);
                QTest::keyClicks(script, "[level info]\t3");
                CHILD_CHECK(model.Text() == "[name]\r\n`x`\r\n[level info]\t3");
                // The script box stores the user's text with CR LF line
                // breaks: typing into a text with a lone LF from the program
                // stores that one as CR LF too.
                model.SetText("a\r\nb\nc");
                script->moveCursor(QTextCursor::End);
                QTest::keyClicks(script, "d");
                CHILD_CHECK(model.Text() == "a\r\nb\r\ncd");
              }),
              ::testing::ExitedWithCode(0), "");
}

TEST_F(Program, ThePromptBoxIsModalOverTheEditor) {
  EXPECT_EXIT(RunEditor([] {
                auto& model = fw::Get<fw::Edit>("MainWindow", "编辑框1");
                model.SetText("x");
                QRect shown;
                bool okVisible = false;
                // The prompt box is modal: the user acts from inside it.
                const auto open = WhenThePromptStandsOpen([&] {
                  shown = Win("PromptWindow")->geometry();
                  okVisible = W("PromptWindow", "确定按钮2")->isVisible();
                  // The editor under it takes no input meanwhile.
                  auto* script = W<QPlainTextEdit>("MainWindow", "编辑框1");
                  script->moveCursor(QTextCursor::End);
                  QTest::keyClicks(script, "typed");
                  QTest::mouseClick(W("PromptWindow", "确定按钮2"), Qt::LeftButton);
                });
                const int result = app::ShowPromptBox({}, Gbk("技能数据已复制！"), {}, false);
                CHILD_CHECK(result == 1);
                CHILD_CHECK(okVisible);
                CHILD_CHECK(!fw::GetWindow("PromptWindow").IsLoaded());
                // Centred on the editor, fully open.
                const fw::Window& main = fw::GetWindow("MainWindow");
                CHILD_CHECK(shown == QRect(main.Left() + 961 / 2 - 160, main.Top() + 597 / 2 - 60,
                                           320, 121));
                CHILD_CHECK(model.Text() == "x");
                CHILD_CHECK(W<QPlainTextEdit>("MainWindow", "编辑框1")->toPlainText() == Q("x"));
              }),
              ::testing::ExitedWithCode(0), "");
}

TEST_F(Program, AWindowSystemCloseEndsWithCodeZero) {
  EXPECT_EXIT(RunEditor([] {
                Win("MainWindow")->windowHandle()->close();
                std::_Exit(4);
              }),
              ::testing::ExitedWithCode(0), "");
}

// Work typed into the script box is not thrown away unasked: 关闭按钮 asks
// first, and Cancel leaves the editor running with the box as it was.
TEST_F(Program, TheCloseButtonAsksBeforeTypedWorkIsLost) {
  EXPECT_EXIT(RunEditor([] {
                QTest::keyClicks(IntoTheEmptiedScriptBox(), "[name]");
                auto& model = fw::Get<fw::Edit>("MainWindow", "编辑框1");
                bool twoButtons = false;
                const auto buttons = WhenThePromptStandsOpen(
                    [&] { twoButtons = W("PromptWindow", "取消按钮")->isVisible(); });
                const Answered asked = AnsweringPrompts([] { Press("关闭按钮"); }, false,
                                                        Q("question_before_work_is_lost"));
                CHILD_CHECK(asked.Lines() ==
                            QStringList({"", Q("技能数据的修改尚未保存，确定放弃修改吗？"), ""}));
                CHILD_CHECK(twoButtons);
                CHILD_CHECK(model.Text() == "[name]");
                CHILD_CHECK(Win("MainWindow")->isVisible());
                // A close that ended the editor at once would end it with
                // code 0 too, before this line.
                std::fprintf(stderr, "the editor ran on\n");
              }),
              ::testing::ExitedWithCode(0), "the editor ran on");
}

// A paste of characters GBK cannot hold is warned of once the paste is
// done; the box holds "?" for them.
TEST_F(Program, APasteOfCharactersGbkCannotHoldIsWarnedOf) {
  EXPECT_EXIT(
      RunEditor([] {
        auto* script = IntoTheEmptiedScriptBox();
        const Answered warned = AnsweringPrompts(
            [script] {
              const std::uint64_t before = fw::GetWindow("PromptWindow").Generation();
              QApplication::clipboard()->setText(Q("[name]\n스킬"));
              QTest::keyClick(script, Qt::Key_V, Qt::ControlModifier);
              for (int i = 0; i < 500; ++i) {
                const fw::Window& prompt = fw::GetWindow("PromptWindow");
                if (prompt.Generation() != before && !prompt.IsLoaded()) break;
                fw::DelayWithMessages(10);
              }
            },
            true, Q("warning_of_characters_gbk_cannot_hold"));
        CHILD_CHECK(warned.Lines() == QStringList({"", Q("粘贴或输入的文字中有GBK无法表示的字符，"),
                                                   Q("已显示为?，保存文件时它们会被?替换！")}));
        CHILD_CHECK(fw::Get<fw::Edit>("MainWindow", "编辑框1").Text() == "[name]\r\n??");
      }),
      ::testing::ExitedWithCode(0), "");
}

// How many different colours a picture has (a blank one has one).
std::size_t Colours(const QImage& img) {
  std::set<QRgb> seen;
  for (int y = 0; y < img.height(); y += 2) {
    for (int x = 0; x < img.width(); x += 2) seen.insert(img.pixel(x, y));
  }
  return seen.size();
}

TEST_F(Program, RendersTheMainWindowToAPicture) {
  const QString path = QStringLiteral(SE_SCREENSHOT_DIR "/main_window.png");
  EXPECT_EXIT(RunEditor([path] {
                fw::DelayWithMessages(200);
                QDir().mkpath(QStringLiteral(SE_SCREENSHOT_DIR));
                const QImage shot = Win("MainWindow")->grab().toImage();
                CHILD_CHECK(shot.size() == QSize(961, 597));
                CHILD_CHECK(shot.save(path));
              }),
              ::testing::ExitedWithCode(0), "");
  const QImage shot(path);
  ASSERT_FALSE(shot.isNull()) << path.toStdString();
  EXPECT_GT(Colours(shot), 10u);
}

}  // namespace
