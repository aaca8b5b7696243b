// The road of one request through the real widgets, as a user walks it:
// the skill list lists the demo folder, a pick puts a skill into the
// editor, the read fills it, each data set is chosen and paged, a range is
// modified in each of the four modes, header fields and mastery levels are
// saved, the skill is released and the file saved. The saved file is
// compared with what the same edits must give, worked out here from the
// file's original bytes. A second walk drops a file onto the script box
// and copies the result to the clipboard; a third draws the picture of
// the editor that the README shows. The user acts in a child process (a
// death test) that ends with code 0 through 关闭按钮 when every check held.
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "child_program.h"
#include "gui_fixture.h"
#include "platform/files.h"

namespace {

using namespace gui_test;
namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The folder of this program, where it looks for its skill folder.
fs::path ProgramFolder() {
  return fs::path(platform::ExecutableFolder());
}

// ---- What the edits must give, worked out on the script's own text ------

// A PT script as its lines (CR LF; the line after the last CR LF is empty).
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t from = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", from)) {
    lines.push_back(text.substr(from, at - from));
    from = at + 2;
  }
  lines.push_back(text.substr(from));
  return lines;
}
std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) text += (i == 0 ? "" : "\r\n") + lines[i];
  return text;
}
// The values line after the n-th (from 1) line that is exactly `tag`.
std::string& ValuesAfter(std::vector<std::string>& lines, const std::string& tag, int n = 1) {
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    if (lines[i] == tag && --n == 0) return lines[i + 1];
  }
  ADD_FAILURE() << "no " << tag;
  static std::string none;
  return none;
}
// The values of a PT values line: each value ends with a TAB.
std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> values;
  std::size_t from = 0;
  for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', from)) {
    values.push_back(line.substr(from, tab - from));
    from = tab + 1;
  }
  return values;
}
std::string Unsplit(const std::vector<std::string>& values) {
  std::string line;
  for (const std::string& v : values) line += v + "\t";
  return line;
}
// Sets value `index` (from 0) of a values line.
void SetValue(std::string& line, std::size_t index, const std::string& value) {
  std::vector<std::string> values = Split(line);
  values.at(index) = value;
  line = Unsplit(values);
}
// Changes value `row` (from 1) of every level from `low` to `high` of a
// [level info] values line (its first value is the number of values per
// level): `change(level, old)` gives the new value.
void ChangeLevels(std::string& line, int row, int low, int high,
                  const std::function<long(int, long)>& change) {
  std::vector<std::string> values = Split(line);
  const int perLevel = std::stoi(values.at(0));
  const int levels = static_cast<int>(values.size() - 1) / perLevel;
  for (int level = low; level <= std::min(high, levels); ++level) {
    std::string& v = values.at(static_cast<std::size_t>(1 + (level - 1) * perLevel + row - 1));
    v = std::to_string(change(level, std::stol(v)));
  }
  line = Unsplit(values);
}

// The first walk's edits on the original bytes of 崩嶽斩 (peak_cleave).
std::string AfterTheFirstWalk(const std::string& original) {
  std::vector<std::string> lines = Lines(original);
  std::string& dungeon = ValuesAfter(lines, "[level info]", 1);
  std::string& arena = ValuesAfter(lines, "[level info]", 2);
  ChangeLevels(dungeon, 1, 1, 20, [](int, long v) { return v + 100; });    // 增加 100
  ChangeLevels(dungeon, 2, 5, 10, [](int, long v) { return v * 3 / 2; });  // 倍率 1.5
  ChangeLevels(arena, 3, 1, 10, [](int, long) { return 3L; });             // 赋值 3
  SetValue(ValuesAfter(lines, "[static data]", 2), 0, "90");               // and a static value
  ChangeLevels(arena, 1, 1, 20, [](int level, long) { return 700L + 50L * (level - 1); });  // 递增
  SetValue(ValuesAfter(lines, "[required level]"), 0, "18");
  SetValue(ValuesAfter(lines, "[cool time]", 2), 1, "5500");  // the arena copy's second value
  SetValue(ValuesAfter(lines, "[growtype maximum level]"), 2, "18");  // 鬼泣
  return Joined(lines);
}

// The second walk's edits on the original bytes of 双牙连击 (twin_fang).
std::string AfterTheSecondWalk(const std::string& original) {
  std::vector<std::string> lines = Lines(original);
  ChangeLevels(ValuesAfter(lines, "[level info]", 1), 1, 3, 6, [](int, long v) { return v + 5; });
  SetValue(ValuesAfter(lines, "[static data]", 1), 1, "1600");
  return Joined(lines);
}

TEST(WalkModel, TheExpectedEditsChangeOnlyTheirValues) {
  const std::string script =
      "[cool time]\r\n10\t20\t\r\n[level info]\r\n2\t1\t2\t3\t4\t5\t6\t\r\n[pvp]\r\n[cool time]\r\n"
      "30\t40\t\r\n[/pvp]\r\n";
  std::vector<std::string> lines = Lines(script);
  EXPECT_EQ(Joined(lines), script);
  ChangeLevels(ValuesAfter(lines, "[level info]"), 2, 2, 9,
               [](int level, long v) { return v * 10 + level; });
  SetValue(ValuesAfter(lines, "[cool time]", 2), 1, "45");
  EXPECT_EQ(Joined(lines),
            "[cool time]\r\n10\t20\t\r\n[level info]\r\n2\t1\t2\t3\t42\t5\t63\t\r\n[pvp]\r\n"
            "[cool time]\r\n30\t45\t\r\n[/pvp]\r\n");
}

// ---- The user's hands -------------------------------------------------------

// Column 0 of the data rows of a grid of MainWindow as its widget shows them.
QStringList Column0(std::string_view grid) {
  auto* g = W<QTableView>(grid);
  QStringList cells;
  for (int row = 1; row <= g->model()->rowCount(); ++row) cells << CellText(g, row, 0);
  return cells;
}
QString Text(std::string_view unit) {
  if (auto* label = W<QLabel>(unit)) return label->text();
  if (auto* line = W<QLineEdit>(unit)) return line->text();
  if (auto* button = W<QPushButton>(unit)) return button->text();
  return {};
}
bool Checked(std::string_view radio) {
  return W<QRadioButton>(radio)->isChecked();
}
QString DescriptionLine(int line) {
  return W<QTextEdit>("描述编辑框")->document()->findBlockByNumber(line).text();
}
void Range(const char* low, const char* high) {
  TypeInLine(W<QLineEdit>("最低编辑框"), Q(low));
  TypeInLine(W<QLineEdit>("最高编辑框"), Q(high));
}
QStringList Confirmation(const char* dataSet, const char* mode, const char* range) {
  return {Q("数据类型:") + Q(dataSet) + Q("   修改方式:") + Q(mode), Q(range), Q("确定修改吗？")};
}
QStringList Message(const char* line) {
  return {QString(), Q(line), QString()};
}
// Presses 保存修改 and confirms; returns the confirmation's lines.
QStringList ModifyAndConfirm(const QString& picture = {}) {
  return AnsweringPrompts([] { Press("保存按钮"); }, true, picture).Lines();
}
void Leave(QWidget* window, const char* name, int line) {
  LeavePicture(window->grab().toImage(), Q(name), line);
}

class Walk : public ChildProgramTest {};

TEST_F(Walk, FromTheSkillListToTheSavedFile) {
  // A fresh copy of the demo folder beside the program, as `./dev run`
  // puts it beside the editor.
  const fs::path skills = ProgramFolder() / "skill";
  fs::remove_all(skills);
  fs::copy(SE_SAMPLES_DIR "/skill", skills, fs::copy_options::recursive);
  const fs::path file = skills / "swordman" / "peak_cleave.skl";
  const std::string original = ReadFile(file);
  ASSERT_FALSE(original.empty());
  std::vector<std::string> swordman;
  for (const auto& entry : fs::directory_iterator(skills / "swordman")) {
    swordman.push_back(entry.path().filename().string());
  }
  std::sort(swordman.begin(), swordman.end());
  const int pick = static_cast<int>(std::find(swordman.begin(), swordman.end(), "peak_cleave.skl") -
                                    swordman.begin() + 1);

  EXPECT_EXIT(
      RunEditor([&] {
        // (1) The skill list opens beside the editor; (2) it lists the folder.
        Press("加载按钮");
        QWidget* list = Win("SkillListWindow");
        CHILD_CHECK(list != nullptr && list->isVisible());
        if (list == nullptr) return;
        QTest::mouseClick(W("SkillListWindow", "加载技能按钮"), Qt::LeftButton);
        auto* combo = W<QComboBox>("SkillListWindow", "鬼剑士组合框");
        CHILD_CHECK(combo->count() == static_cast<int>(swordman.size()) + 1);
        CHILD_CHECK(combo->itemText(pick) == Q("崩嶽斩"));
        Leave(list, "walk_skill_list", __LINE__);

        // (3) A pick puts the file into the editor.
        combo->setFocus();
        for (int i = 0; i < pick; ++i) QTest::keyClick(combo, Qt::Key_Down);
        CHILD_CHECK(Text("路径编辑框") == QString::fromStdString(file.string()));
        CHILD_CHECK(fw::Get<fw::Edit>("MainWindow", "编辑框1").Text() == Gbk(original));
        CHILD_CHECK(W("保存文件按钮")->isEnabled());
        QTest::mouseClick(W("SkillListWindow", "关闭按钮"), Qt::LeftButton);
        CHILD_CHECK(!fw::GetWindow("SkillListWindow").IsLoaded());

        // (4) The read.
        Press("读取按钮");
        CHILD_CHECK(Text("读取按钮") == Q("释放数据"));
        CHILD_CHECK(Locked(W<QPlainTextEdit>("编辑框1")));
        CHILD_CHECK(!W("保存文件按钮")->isEnabled());
        CHILD_CHECK(Text("技能名称标签") == Q("崩嶽斩"));
        CHILD_CHECK(Text("职业标签") == Q("鬼剑士"));
        CHILD_CHECK(W("刷图单选框")->isEnabled() && W("PK单选框")->isEnabled());
        CHILD_CHECK(!W("通用单选框")->isEnabled());
        auto* params = gui_test::W<QTableView>("SkillParamWindow", "参数表格");
        auto* mastery = gui_test::W<QTableView>("MasteryLevelWindow", "精通表格");
        CHILD_CHECK(params->model()->rowCount() == 14);
        CHILD_CHECK(mastery->model()->rowCount() == 5);

        // (5) The dungeon data set, paged.
        Choose("刷图单选框");
        CHILD_CHECK(Column0("数据表格") == QStringList({"1200", "150", "2"}));
        CHILD_CHECK(Column0("静态表格") == QStringList({"100", "30"}));
        CHILD_CHECK(Text("等级标签") == Q("20") && Text("静态类型标签") == Q("地下城"));
        CHILD_CHECK(DescriptionLine(0) == Q("崩嶽斩  Lv 1[地下城]"));
        CHILD_CHECK(DescriptionLine(2) == Q("挥剑劈开山嶽，造成120%的物理伤害"));
        Leave(Win("MainWindow"), "walk_main_dungeon", __LINE__);
        Press("下一页按钮");
        CHILD_CHECK(Text("页数编辑框") == Q("2"));
        CHILD_CHECK(Column0("数据表格") == QStringList({"1330", "160", "2"}));
        CHILD_CHECK(DescriptionLine(0) == Q("崩嶽斩  Lv 2[地下城]"));
        Press("上一页按钮");
        CHILD_CHECK(Column0("数据表格") == QStringList({"1200", "150", "2"}));
        TypeInLine(W<QLineEdit>("页数编辑框"), Q("5"));
        Press("跳转按钮");
        CHILD_CHECK(Column0("数据表格") == QStringList({"1720", "190", "2"}));

        // (6) Add 100 to the first value of every level.
        Choose("增加单选框");
        CHILD_CHECK(Text("页数编辑框") == Q("1"));
        TypeInCell(W<QTableView>("数据表格"), 1, 1, Q("100"));
        Range("1", "20");
        CHILD_CHECK(ModifyAndConfirm(Q("walk_prompt_confirm")) ==
                    Confirmation("地下城技能", "增加", "等级区间:1--20级"));
        CHILD_CHECK(Text("读取按钮") == Q("释放数据"));
        CHILD_CHECK(Checked("刷图单选框") && Checked("增加单选框"));
        CHILD_CHECK(Column0("数据表格") == QStringList({"1300", "150", "2"}));
        CHILD_CHECK(DescriptionLine(2) == Q("挥剑劈开山嶽，造成130%的物理伤害"));

        // Multiply the second value of levels 5 to 10 by 1.5.
        Choose("倍率单选框");
        TypeInCell(W<QTableView>("数据表格"), 2, 1, Q("1.5"));
        Range("5", "10");
        CHILD_CHECK(ModifyAndConfirm() == Confirmation("地下城技能", "百分比", "等级区间:5--10级"));
        CHILD_CHECK(Checked("倍率单选框"));
        TypeInLine(W<QLineEdit>("页数编辑框"), Q("5"));
        Press("跳转按钮");
        CHILD_CHECK(Column0("数据表格") == QStringList({"1820", "285", "2"}));
        TypeInLine(W<QLineEdit>("页数编辑框"), Q("11"));
        Press("跳转按钮");
        CHILD_CHECK(Column0("数据表格") == QStringList({"2600", "250", "2"}));

        // The arena data set: set the third value of levels 1 to 10 and a
        // static value.
        Choose("PK单选框");
        CHILD_CHECK(Column0("数据表格") == QStringList({"720", "90", "1"}));
        CHILD_CHECK(Column0("静态表格") == QStringList({"80", "30"}));
        CHILD_CHECK(Text("静态类型标签") == Q("决斗场"));
        CHILD_CHECK(Checked("赋值单选框"));
        TypeInCell(W<QTableView>("数据表格"), 3, 1, Q("3"));
        TypeInCell(W<QTableView>("静态表格"), 1, 1, Q("90"));
        Range("1", "10");
        CHILD_CHECK(ModifyAndConfirm() == Confirmation("决斗场技能", "等于", "等级区间:1--10级"));
        CHILD_CHECK(Checked("PK单选框"));
        CHILD_CHECK(Column0("数据表格") == QStringList({"720", "90", "3"}));
        CHILD_CHECK(Column0("静态表格") == QStringList({"90", "30"}));

        // Increment the first value from a level-1 base of 700 by 50.
        Choose("递增单选框");
        auto* levels = W<QTableView>("数据表格");
        CHILD_CHECK(HeaderText(levels, 0) == Q("1级数值") &&
                    HeaderText(levels, 1) == Q("递增数值"));
        TypeInCell(levels, 1, 0, Q("700"));
        TypeInCell(levels, 1, 1, Q("50"));
        Range("1", "20");
        CHILD_CHECK(ModifyAndConfirm() == Confirmation("决斗场技能", "递增", "等级区间:1--20级"));
        CHILD_CHECK(Checked("递增单选框"));
        CHILD_CHECK(Column0("数据表格") == QStringList({"700", "90", "3"}));
        TypeInLine(W<QLineEdit>("页数编辑框"), Q("20"));
        Press("跳转按钮");
        CHILD_CHECK(Column0("数据表格") == QStringList({"1650", "204", "1"}));

        // Header fields: the required level and the arena cool time.
        const int required = RowTitled(params, Q("学习等级"));
        const int arenaCool = RowTitled(params, Q("[决斗场]"));
        CHILD_CHECK(required > 0 && arenaCool > 0 && CellText(params, arenaCool, 1) == Q("6000"));
        TypeInCell(params, required, 1, Q("18"));
        TypeInCell(params, arenaCool, 1, Q("5500"));
        CHILD_CHECK(AnsweringPrompts([] { Press("SkillParamWindow", "保存按钮"); }).Lines() ==
                    Message("技能参数保存成功！"));
        CHILD_CHECK(CellText(params, RowTitled(params, Q("学习等级")), 1) == Q("18"));
        CHILD_CHECK(CellText(params, RowTitled(params, Q("[决斗场]")), 1) == Q("5500"));
        CHILD_CHECK(Checked("PK单选框") && Checked("递增单选框"));

        // A mastery level.
        const int row = RowTitled(mastery, Q("鬼泣"));
        CHILD_CHECK(row > 0 && CellText(mastery, row, 1) == Q("15"));
        TypeInCell(mastery, row, 1, Q("18"));
        CHILD_CHECK(AnsweringPrompts([] { Press("MasteryLevelWindow", "保存按钮"); }).Lines() ==
                    Message("技能参数保存成功！"));
        CHILD_CHECK(CellText(mastery, RowTitled(mastery, Q("鬼泣")), 1) == Q("18"));
        Leave(Win("MainWindow"), "walk_main_after_edits", __LINE__);

        // (7) Released, then saved over the file it came from.
        Press("读取按钮");
        CHILD_CHECK(Text("读取按钮") == Q("读取数据"));
        CHILD_CHECK(!Locked(W<QPlainTextEdit>("编辑框1")));
        CHILD_CHECK(W("保存文件按钮")->isEnabled());
        CHILD_CHECK(AnsweringPrompts([] { Press("保存文件按钮"); }).prompts.isEmpty());
        CHILD_CHECK(Text("保存文件按钮") == Q("保存文件") && W("保存文件按钮")->isEnabled());
      }),
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadFile(file),
            AfterTheFirstWalk(ReadFile(SE_SAMPLES_DIR "/skill/swordman/peak_cleave.skl")));
}

TEST_F(Walk, ADroppedFileToTheClipboard) {
  const fs::path folder = ProgramFolder() / "拖放的技能";
  fs::create_directories(folder);
  const fs::path file = folder / "twin_fang.skl";
  fs::copy_file(SE_SAMPLES_DIR "/skill/thief/twin_fang.skl", file,
                fs::copy_options::overwrite_existing);
  const std::string original = ReadFile(file);
  const QString expected = QString::fromStdString(AfterTheSecondWalk(original));

  EXPECT_EXIT(
      RunEditor([&] {
        CHILD_CHECK(
            DropFiles(Win("MainWindow"), W("编辑框1"), {QString::fromStdString(file.string())}));
        // The drop reads at once.
        CHILD_CHECK(Text("路径编辑框") == QString::fromStdString(file.string()));
        CHILD_CHECK(Text("读取按钮") == Q("释放数据"));
        CHILD_CHECK(Text("技能名称标签") == Q("双牙连击"));

        Choose("刷图单选框");
        Choose("增加单选框");
        TypeInCell(W<QTableView>("数据表格"), 1, 1, Q("5"));
        TypeInCell(W<QTableView>("静态表格"), 2, 1, Q("1600"));
        Range("3", "6");
        CHILD_CHECK(ModifyAndConfirm() == Confirmation("地下城技能", "增加", "等级区间:3--6级"));

        // Copying is refused while the skill is held.
        CHILD_CHECK(AnsweringPrompts([] { Press("复制按钮"); }).Lines() ==
                    Message("技能修改状态下无法复制，请先点击 释放数据！"));
        Press("读取按钮");
        CHILD_CHECK(
            AnsweringPrompts([] { Press("复制按钮"); }, true, Q("walk_prompt_copied")).Lines() ==
            Message("技能数据已复制！"));
        CHILD_CHECK(QApplication::clipboard()->text() == expected);
      }),
      ::testing::ExitedWithCode(0), "");
}

// ---- The README's picture ----------------------------------------------------

// Pixels that differ by more than the noise of a renderer.
int DifferingPixels(const QImage& a, const QImage& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      if (std::abs(qRed(p) - qRed(q)) > 32 || std::abs(qGreen(p) - qGreen(q)) > 32 ||
          std::abs(qBlue(p) - qBlue(q)) > 32) {
        ++differing;
      }
    }
  }
  return differing;
}

// The editor holding a skill, as docs/main_editor.png shows it in the
// README. With SE_WRITE_DOCS_PICTURE set the test draws that picture anew
// (the write_docs_picture target); otherwise the committed picture must
// match what the editor draws today.
TEST_F(Walk, TheReadmePictureIsWhatTheEditorDrawsToday) {
  const QString drawn = QStringLiteral(SE_SCREENSHOT_DIR "/main_editor.png");
  QFile::remove(drawn);
  EXPECT_EXIT(RunEditor([] {
                auto* box = W<QPlainTextEdit>("编辑框1");
                QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(30, 30));
                QApplication::clipboard()->setText(QString::fromStdString(
                    ReadFile(SE_SAMPLES_DIR "/skill/swordman/peak_cleave.skl")));
                QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
                Press("读取按钮");
                Choose("刷图单选框");
                // A click on the description line of the damage paints its row.
                auto* description = W<QTextEdit>("描述编辑框");
                QTextCursor c(description->document()->findBlockByNumber(2));
                c.movePosition(QTextCursor::NextCharacter);
                QTest::mouseClick(description->viewport(), Qt::LeftButton, {},
                                  description->cursorRect(c).center());
                // The parameter window slid shut, so that the whole
                // description shows; the script box scrolled to its top.
                Press("参数窗口按钮");
                box->verticalScrollBar()->setValue(0);
                Leave(Win("MainWindow"), "main_editor", __LINE__);
              }),
              ::testing::ExitedWithCode(0), "");
  const QImage today(drawn);
  ASSERT_FALSE(today.isNull());
  const QString committed = QStringLiteral(SE_DOCS_DIR "/main_editor.png");
  if (std::getenv("SE_WRITE_DOCS_PICTURE") != nullptr) {
    QDir().mkpath(QStringLiteral(SE_DOCS_DIR));
    ASSERT_TRUE(today.save(committed));
    return;
  }
  const QImage shown(committed);
  ASSERT_FALSE(shown.isNull()) << "no " << committed.toStdString();
  ASSERT_EQ(shown.size(), today.size());
  // Fonts may round a pixel differently elsewhere; a changed caption, value
  // or colour changes far more.
  EXPECT_LE(DifferingPixels(shown.convertToFormat(QImage::Format_RGB32),
                            today.convertToFormat(QImage::Format_RGB32)),
            today.width() * today.height() / 2000)
      << "the README's picture is stale: build the write_docs_picture target";
}

}  // namespace
