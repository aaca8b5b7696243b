// The skill list through the real widgets: 加载按钮 opens the list window
// docked beside the editor, 加载技能 lists the demo skill folder, and a
// pick in a class combo box puts the skill into the script box; the help
// window opens and closes. The user acts in a child process (a death test)
// that ends with code 0 through 关闭按钮 when every check held, 3 otherwise.
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/help_window.h"
#include "app/units.h"
#include "child_program.h"
#include "gui_fixture.h"
#include "platform/files.h"

namespace {

using namespace gui_test;
namespace fs = std::filesystem;

class SkillListThroughWidgets : public ChildProgramTest {};

TEST_F(SkillListThroughWidgets, LoadsTheDemoFolderAndPicksASkill) {
  const fs::path demo = DemoFolderBesideTheProgram();
  std::vector<std::string> swordman;
  for (const auto& entry : fs::directory_iterator(demo / "swordman")) {
    if (entry.path().extension() == ".skl") swordman.push_back(entry.path().filename().string());
  }
  std::sort(swordman.begin(), swordman.end());
  ASSERT_FALSE(swordman.empty());
  const std::string pickedPath = (demo / "swordman" / swordman.front()).string();

  EXPECT_EXIT(
      RunEditor([&] {
        QTest::mouseClick(W("MainWindow", "加载按钮"), Qt::LeftButton);
        QWidget* list = Win("SkillListWindow");
        CHILD_CHECK(list != nullptr && list->isVisible());
        if (list == nullptr) return;
        const QRect editor = Win("MainWindow")->geometry();
        CHILD_CHECK(list->geometry().left() == std::max(0, editor.left() - 333));
        CHILD_CHECK(list->geometry().top() == editor.top());
        CHILD_CHECK(list->size() == QSize(333, 294));

        // The load returns once every loader has ended and its animation
        // has run its cycle.
        QTest::mouseClick(W("SkillListWindow", "加载技能按钮"), Qt::LeftButton);
        CHILD_CHECK(!W("SkillListWindow", "标签5")->isVisible());
        auto* combo = W<QComboBox>("SkillListWindow", "鬼剑士组合框");
        CHILD_CHECK(combo->isEnabled());
        CHILD_CHECK(combo->count() == static_cast<int>(swordman.size()) + 1);
        CHILD_CHECK(combo->currentIndex() == 0);
        CHILD_CHECK(combo->itemText(0) == Q("请选择一个技能"));
        CHILD_CHECK(combo->itemText(1) != Q("未知技能"));

        // Picked with the keyboard, as a user may.
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        CHILD_CHECK(combo->currentIndex() == 1);
        CHILD_CHECK(W<QLineEdit>("MainWindow", "路径编辑框")->text() ==
                    QString::fromStdString(pickedPath));
        const std::string bytes = platform::ReadWholeFile(pickedPath).value_or("");
        CHILD_CHECK(!bytes.empty());
        CHILD_CHECK(fw::Get<fw::Edit>("MainWindow", "编辑框1").Text() == Gbk(bytes));
        CHILD_CHECK(
            W<QPlainTextEdit>("MainWindow", "编辑框1")->toPlainText().startsWith(Q("[name]\n")));
        CHILD_CHECK(W("MainWindow", "保存文件按钮")->isEnabled());

        // A search typed into its box: each press of 搜索 picks the next
        // name that holds the text, and puts its file into the editor.
        Commit(W<QLineEdit>("SkillListWindow", "搜索框男"), Q("斩"));
        int last = 0;
        for (int press = 0; press < 2; ++press) {
          QTest::mouseClick(W("SkillListWindow", "搜索按钮男"), Qt::LeftButton);
          const int found = combo->currentIndex();
          CHILD_CHECK(found > last && combo->currentText().contains(Q("斩")));
          last = found;
          if (found < 1 || found > static_cast<int>(swordman.size())) continue;
          CHILD_CHECK(W<QLineEdit>("MainWindow", "路径编辑框")->text() ==
                      QString::fromStdString((demo / "swordman" / swordman[found - 1]).string()));
        }

        // Every tab fits in its control, without scroll arrows.
        for (const char* group : {"选择夹男", "选择夹女"}) {
          auto* bar = W("SkillListWindow", group)->findChild<QTabBar*>();
          CHILD_CHECK(bar != nullptr && bar->tabRect(bar->count() - 1).right() < bar->width());
        }

        // Another tab of the female group.
        auto* tabs = W("SkillListWindow", "选择夹女")->findChild<QTabBar*>();
        CHILD_CHECK(tabs != nullptr);
        if (tabs != nullptr) {
          QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
          CHILD_CHECK(W("SkillListWindow", "暗夜使组合框")->isVisible());
          CHILD_CHECK(!W("SkillListWindow", "女法师组合框")->isVisible());
        }

        QDir().mkpath(QStringLiteral(SE_SCREENSHOT_DIR));
        CHILD_CHECK(list->grab().save(QStringLiteral(SE_SCREENSHOT_DIR "/skill_list_window.png")));

        // Closed by its close button, once no load runs.
        QTest::mouseClick(W("SkillListWindow", "关闭按钮"), Qt::LeftButton);
        CHILD_CHECK(!fw::GetWindow("SkillListWindow").IsLoaded());

        // The help window.
        QTest::mouseClick(W("MainWindow", "帮助按钮"), Qt::LeftButton);
        QWidget* help = Win("HelpWindow");
        CHILD_CHECK(help != nullptr && help->isVisible());
        if (help != nullptr) {
          CHILD_CHECK(help->size() == QSize(390, 476));
          CHILD_CHECK(help->grab().save(QStringLiteral(SE_SCREENSHOT_DIR "/help_window.png")));
        }
        QTest::mouseClick(W("HelpWindow", "关闭按钮"), Qt::LeftButton);
        CHILD_CHECK(!fw::GetWindow("HelpWindow").IsLoaded());
      }),
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
