// The real program in a child process (a death test), for the tests that
// act as the user through the real widgets. The Qt backend ends the process
// on the exit road, so the child checks what it sees as it goes and ends
// with code 0 through 关闭按钮 when every check held, 3 when one failed (and
// prints which), 4 or 5 when the program did not end as it should.
#pragma once

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/program.h"
#include "framework/qt/qt_backend.h"
#include "framework/runtime.h"
#include "gui_fixture.h"
#include "platform/files.h"

namespace gui_test {

// What the child process found wrong so far.
inline std::vector<std::string>& Failures() {
  static std::vector<std::string> f;
  return f;
}
inline void Check(bool ok, const char* what, int line) {
  if (!ok) Failures().push_back(std::to_string(line) + ": " + what);
}
#define CHILD_CHECK(cond) Check((cond), #cond, __LINE__)

inline QWidget* W(std::string_view window, std::string_view unit) {
  return fw::qt::QtBackend::Current()->UnitWidget(fw::GetControl(window, unit));
}
template <class T>
T* W(std::string_view window, std::string_view unit) {
  return dynamic_cast<T*>(W(window, unit));
}
inline QWidget* Win(std::string_view window) {
  return fw::qt::QtBackend::Current()->WindowWidget(fw::GetWindow(window));
}
inline QString Q(const char* utf8) {
  return QString::fromUtf8(utf8);
}
// A header cell and a data cell of a grid as its table shows them (the
// grid's row 0 is the table's header, grid row r + 1 table row r).
inline QString HeaderText(QTableView* grid, int col) {
  return grid->model()->headerData(col, Qt::Horizontal).toString();
}
inline QString CellText(QTableView* grid, int row, int col) {
  return grid->model()->index(row - 1, col).data().toString();
}
// A locked multi-line box: it still scrolls, but takes no focus and no
// text interaction.
inline bool Locked(QPlainTextEdit* box) {
  return box->isEnabled() && box->isReadOnly() && box->focusPolicy() == Qt::NoFocus &&
         box->textInteractionFlags() == Qt::NoTextInteraction;
}
inline QColor CellColour(QTableView* grid, int row, int col) {
  return grid->model()->index(row - 1, col).data(Qt::BackgroundRole).value<QBrush>().color();
}

// The user's hands on MainWindow: its widgets by unit name, a click on a
// button and on a radio.
template <class T = QWidget>
T* W(std::string_view unit) {
  return W<T>("MainWindow", unit);
}
inline void Press(std::string_view unit) {
  QTest::mouseClick(W(unit), Qt::LeftButton);
}
inline void Press(std::string_view window, std::string_view unit) {
  QTest::mouseClick(W(window, unit), Qt::LeftButton);
}
inline void Choose(std::string_view radio) {
  QWidget* r = W(radio);
  QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(6, r->height() / 2));
}

// Text as an input method commits it: how Chinese reaches a box.
inline void Commit(QWidget* box, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(box, &event);
}
// The user types `text` into a line edit in place of what it holds.
inline void TypeInLine(QLineEdit* line, const QString& text) {
  QTest::mouseClick(line, Qt::LeftButton);
  QTest::keyClick(line, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(line, text);
}
// The user types `text` into cell (row, col) of a grid (grid rows: row 0 is
// the header): a double click opens the cell's editor, Enter commits.
inline void TypeInCell(QTableView* grid, int row, int col, const QString& text) {
  const QModelIndex index = grid->model()->index(row - 1, col);
  grid->scrollTo(index);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
  QTest::keyClick(grid, Qt::Key_F2);
  QLineEdit* editor = nullptr;
  for (QLineEdit* line : grid->viewport()->findChildren<QLineEdit*>()) {
    if (line->isVisible()) editor = line;
  }
  Check(editor != nullptr, "a cell editor opens", __LINE__);
  if (editor == nullptr) return;
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
  // The editor commits what it holds once the loop turns.
  fw::ProcessPending();
  Check(CellText(grid, row, col) == text, "the cell takes what was typed", __LINE__);
}
// The data row of a grid whose column 0 shows `title` (0 when none does).
inline int RowTitled(QTableView* grid, const QString& title, int from = 1) {
  for (int row = from; row <= grid->model()->rowCount(); ++row) {
    if (CellText(grid, row, 0) == title) return row;
  }
  return 0;
}

// MainWindow as the screen shows it, with the prompt box and its figure
// over it (with the figure's per-pixel alpha) while they are there.
inline QImage Composed() {
  QWidget* main = Win("MainWindow");
  QImage shot(main->size(), QImage::Format_ARGB32);
  shot.fill(Qt::black);
  QPainter p(&shot);
  p.drawPixmap(0, 0, main->grab());
  for (const char* name : {"PromptWindow", "PromptBackdropWindow"}) {
    if (!fw::GetWindow(name).IsLoaded()) continue;
    QWidget* w = Win(name);
    p.drawPixmap(w->pos() - main->pos(), w->grab());
  }
  return shot;
}

// Whether a picture shows anything: a window drawn blank (or not drawn)
// has one colour or very few.
inline bool Blank(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height() && colours.size() < 16; ++y) {
    for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
  }
  return colours.size() < 16;
}
// Leaves `image` under the build folder as screenshots/<name>.png, for a
// person to look at; checks that it is not blank.
inline void LeavePicture(const QImage& image, const QString& name, int line) {
  QDir().mkpath(QStringLiteral(SE_SCREENSHOT_DIR));
  Check(!Blank(image), "the picture shows something", line);
  Check(image.save(QStringLiteral(SE_SCREENSHOT_DIR "/") + name + ".png"), "the picture is saved",
        line);
}

// Whether the prompt box stands open: loaded, shown and unrolled to its
// full width (under load its opening may take longer than its 100 ms).
inline bool PromptStandsOpen() {
  if (!fw::GetWindow("PromptWindow").IsLoaded()) return false;
  QWidget* box = Win("PromptWindow");
  return box != nullptr && box->isVisible() && box->width() == 320;
}

// Runs `action` once, as soon as the prompt box stands open, from the loop
// that the prompt waits in; for as long as the returned timer lives.
inline std::unique_ptr<QTimer> WhenThePromptStandsOpen(std::function<void()> action) {
  auto timer = std::make_unique<QTimer>();
  timer->setInterval(5);
  QTimer* t = timer.get();
  QObject::connect(t, &QTimer::timeout, [t, action = std::move(action)] {
    if (!PromptStandsOpen()) return;
    t->stop();
    action();
  });
  t->start();
  return timer;
}

// The prompt boxes that the user answers while `action` runs: each box,
// once it stands open, has its three lines read and is answered with OK
// (or Cancel when `ok` is false). When `picture` is given, the first box
// is left as that picture with the editor and the figure.
struct Answered {
  QList<QStringList> prompts;
  QStringList Lines() const { return prompts.size() == 1 ? prompts.front() : QStringList(); }
};
inline Answered AnsweringPrompts(const std::function<void()>& action, bool ok = true,
                                 const QString& picture = {}) {
  Answered answered;
  std::uint64_t lastGeneration = 0;
  QTimer timer;
  timer.setInterval(5);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    fw::Window& prompt = fw::GetWindow("PromptWindow");
    if (!PromptStandsOpen() || prompt.Generation() == lastGeneration) return;
    lastGeneration = prompt.Generation();
    QStringList lines;
    for (const char* line : {"第一行", "第二行", "第三行"}) {
      lines << W<QLabel>("PromptWindow", line)->text();
    }
    answered.prompts << lines;
    if (!picture.isEmpty() && answered.prompts.size() == 1) {
      LeavePicture(Composed(), picture, __LINE__);
    }
    const bool oneButton = W("PromptWindow", "确定按钮2")->isVisible();
    const char* button = oneButton ? "确定按钮2" : ok ? "确定按钮1" : "取消按钮";
    QTest::mouseClick(W("PromptWindow", button), Qt::LeftButton);
  });
  timer.start();
  action();
  timer.stop();
  return answered;
}

// A script fixture's bytes (GBK, CR LF).
inline std::string Fixture(const char* name) {
  std::ifstream in(std::string(SE_FIXTURES_DIR) + "/scripts/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The demo skill folder where the program looks for it: beside the program
// (a link to the samples, made once).
inline std::filesystem::path DemoFolderBesideTheProgram() {
  namespace fs = std::filesystem;
  const fs::path beside = fs::path(platform::ExecutableFolder()) / "skill";
  std::error_code ignored;
  if (!fs::exists(beside)) fs::create_directory_symlink(SE_SAMPLES_DIR "/skill", beside, ignored);
  return beside;
}

// Ends the child: with code 3 when a check failed, else through the
// editor's close button, which must end the process with code 0.
[[noreturn]] inline void CloseTheEditor() {
  if (!Failures().empty()) {
    for (const std::string& f : Failures()) std::fprintf(stderr, "check failed: %s\n", f.c_str());
    std::fflush(stderr);
    std::_Exit(3);
  }
  // The user leaves, letting go of unsaved changes in the script box when
  // asked.
  const auto letGo = WhenThePromptStandsOpen(
      [] { QTest::mouseClick(W("PromptWindow", "确定按钮1"), Qt::LeftButton); });
  QTest::mouseClick(W("MainWindow", "关闭按钮"), Qt::LeftButton);
  std::fprintf(stderr, "the close button did not end the program\n");
  std::_Exit(4);
}

// Runs the editor in this (child) process; `started` runs once the main
// loop is up. The editor must be closed from there on (CloseTheEditor).
[[noreturn]] inline void RunEditorFrom(std::function<void()> started) {
  App();
  fw::qt::QtBackend backend;
  fw::Runtime runtime(backend);
  QTimer::singleShot(0, std::move(started));
  app::ProgramStart();
  std::fprintf(stderr, "the program returned\n");
  std::_Exit(5);
}

// Runs the editor in this (child) process; `user` runs once the main loop
// is up, then the editor is closed as CloseTheEditor does.
[[noreturn]] inline void RunEditor(std::function<void()> user) {
  RunEditorFrom([user] {
    user();
    CloseTheEditor();
  });
}

// Death tests of the real program fork a process that runs Qt; the
// thread-safe style re-executes the test binary for it.
class ChildProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

}  // namespace gui_test
