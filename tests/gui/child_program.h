// The real program in a child process (a death test), for the tests that
// act as the user through the real widgets. The Qt backend ends the process
// on the exit road, so the child checks what it sees as it goes and ends
// with code 0 through 关闭按钮 when every check held, 3 when one failed (and
// prints which), 4 or 5 when the program did not end as it should.
#pragma once

#include <QBrush>
#include <QColor>
#include <QPlainTextEdit>
#include <QString>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.h"
#include "framework/qt/qt_backend.h"
#include "framework/runtime.h"
#include "gui_fixture.h"

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
inline void Choose(std::string_view radio) {
  QWidget* r = W(radio);
  QTest::mouseClick(r, Qt::LeftButton, {}, QPoint(6, r->height() / 2));
}

// A script fixture's bytes (GBK, CR LF).
inline std::string Fixture(const char* name) {
  std::ifstream in(std::string(SE_FIXTURES_DIR) + "/scripts/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Ends the child: with code 3 when a check failed, else through the
// editor's close button, which must end the process with code 0.
[[noreturn]] inline void CloseTheEditor() {
  if (!Failures().empty()) {
    for (const std::string& f : Failures()) std::fprintf(stderr, "check failed: %s\n", f.c_str());
    std::fflush(stderr);
    std::_Exit(3);
  }
  QTest::mouseClick(W("MainWindow", "关闭按钮"), Qt::LeftButton);
  std::fprintf(stderr, "the close button did not end the program\n");
  std::_Exit(4);
}

// Runs the editor in this (child) process; `user` runs once the main loop
// is up, then the editor is closed as CloseTheEditor does.
[[noreturn]] inline void RunEditor(std::function<void()> user) {
  App();
  fw::qt::QtBackend backend;
  fw::Runtime runtime(backend);
  QTimer::singleShot(0, [user] {
    user();
    CloseTheEditor();
  });
  app::ProgramStart();
  std::fprintf(stderr, "the program returned\n");
  std::_Exit(5);
}

// Death tests of the real program fork a process that runs Qt; the
// thread-safe style re-executes the test binary for it.
class ChildProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

}  // namespace gui_test
