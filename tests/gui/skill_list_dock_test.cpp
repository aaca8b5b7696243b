// The skill list beside the editor on a desktop: an X server of the test's
// own with openbox, the user's clicks and drags through xdotool, and the
// places of the windows as the X server has them. On a screen wide enough
// for both, the list stands beside the editor, never over it; on a narrower
// one the editor moves as far right as the screen allows and the list,
// kept on the screen, covers only what it must of the editor's left part.
// The editor runs in a forked child that ends with code 0 through 关闭按钮
// when every check held.
#include <QRect>
#include <QTest>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "child_program.h"
#include "desktop_session.h"
#include "framework/runtime.h"

namespace {

using namespace gui_test;

// Where the X server shows a top-level window of the editor: its place on
// the screen, whatever frame the window manager put around it.
QRect OnTheScreen(std::string_view window) {
  QWidget* w = Win(window);
  if (w == nullptr) return {};
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  QRect place;
  if (xcb_connection_has_error(c) == 0) {
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const auto id = static_cast<xcb_window_t>(w->winId());
    xcb_translate_coordinates_reply_t* at =
        xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, id, root, 0, 0), nullptr);
    xcb_get_geometry_reply_t* size = xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr);
    if (at != nullptr && size != nullptr)
      place = QRect(at->dst_x, at->dst_y, size->width, size->height);
    std::free(at);
    std::free(size);
  }
  xcb_disconnect(c);
  return place;
}

// Serves the editor until `done` holds, for at most three seconds.
bool Until(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QTest::qWait(20);
  }
  return true;
}

// The window's place once the window manager is done with it: the same
// for a fifth of a second.
QRect Settled(std::string_view window) {
  QRect last = OnTheScreen(window);
  for (int still = 0, turns = 0; still < 10 && turns < 150; ++turns) {
    QTest::qWait(20);
    const QRect now = OnTheScreen(window);
    still = now == last ? still + 1 : 0;
    last = now;
  }
  return last;
}

// A left click at the centre of a unit, through the X server.
void ClickAtCentre(std::string_view window, std::string_view unit) {
  QWidget* w = W(window, unit);
  const QPoint centre = OnTheScreen(window).topLeft() + w->mapTo(w->window(), w->rect().center());
  ClickAt(centre.x(), centre.y());
}
// Drags MainWindow by its title bar, `dx` pixels to the right.
void DragEditor(int dx) {
  const QPoint from = OnTheScreen("MainWindow").topLeft() + QPoint(480, 12);
  MoveTo(from.x(), from.y());
  LeftButton(true);
  QTest::qWait(100);
  for (int step = 1; step <= 4; ++step) {
    MoveTo(from.x() + dx * step / 4, from.y());
    QTest::qWait(50);
  }
  LeftButton(false);
  Settled("MainWindow");
}
bool ListOpen() {
  return fw::GetWindow("SkillListWindow").IsLoaded();
}
// 技能列表 on the editor opens the list; its 关闭按钮 closes it.
void OpenList() {
  ClickAtCentre("MainWindow", "加载按钮");
  CHILD_CHECK(Until(ListOpen));
}
void CloseList() {
  ClickAtCentre("SkillListWindow", "关闭按钮");
  CHILD_CHECK(Until([] { return !ListOpen(); }));
}

struct Screen {
  int width, height;
  bool roomForBoth;  // for the list (333) and the editor (961) side by side
  friend void PrintTo(const Screen& s, std::ostream* os) { *os << s.width << 'x' << s.height; }
};

class SkillListOnTheDesktop : public ::testing::TestWithParam<Screen> {};

TEST_P(SkillListOnTheDesktop, DocksBesideTheEditorWhereTheScreenHasRoom) {
  const Screen screen = GetParam();
  OwnXServer server(screen.width, screen.height);
  if (server.display().empty()) GTEST_SKIP() << "no Xvfb here";
  WindowManager wm(server.display());
  ASSERT_TRUE(wm.Running()) << "openbox did not start";

  // The editor runs in a forked child on the test's desktop.
  GTEST_FLAG_SET(death_test_style, "fast");
  ::setenv("DISPLAY", server.display().c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  EXPECT_EXIT(
      RunEditor([screen] {
        const QRect desktop(0, 0, screen.width, screen.height);
        const QRect start = Settled("MainWindow");
        CHILD_CHECK(start == QRect((screen.width - 961) / 2, (screen.height - 597) / 2, 961, 597));
        // Where an editor too near the left edge goes when the list opens,
        // and how much of it the list then covers.
        const int roomLeft = std::min(333, screen.width - 961);
        const int covered = 333 - roomLeft;

        OpenList();
        QRect list = Settled("SkillListWindow");
        QRect editor = Settled("MainWindow");
        CHILD_CHECK(desktop.contains(list) && desktop.contains(editor));
        // The list at the left edge, the editor moved right: beside it, or
        // under the list's right part only.
        CHILD_CHECK(list == QRect(0, start.top(), 333, 294));
        CHILD_CHECK(editor == start.translated(roomLeft - start.left(), 0));
        CHILD_CHECK(screen.roomForBoth == !list.intersects(editor));
        CHILD_CHECK(list.intersected(editor).width() == (screen.roomForBoth ? 0 : covered));

        // The list does not follow when the user moves the editor (here
        // away from it, so that its close button stays in view).
        const int away = 393 - editor.left();
        DragEditor(away);
        editor = Settled("MainWindow");
        CHILD_CHECK(editor.left() == 393);
        CHILD_CHECK(Settled("SkillListWindow") == list);
        // Opened again, it docks to where the editor is now; an editor
        // that leaves room for it keeps its place.
        CloseList();
        OpenList();
        CHILD_CHECK(Settled("SkillListWindow") == QRect(60, start.top(), 333, 294));
        CHILD_CHECK(Settled("MainWindow") == editor);
        // An editor moved too near the left edge moves right again, as far
        // as it did at first.
        CloseList();
        DragEditor(-300);
        CHILD_CHECK(Settled("MainWindow").left() == 93);
        OpenList();
        list = Settled("SkillListWindow");
        editor = Settled("MainWindow");
        CHILD_CHECK(list == QRect(0, start.top(), 333, 294));
        CHILD_CHECK(editor.left() == roomLeft);
        CHILD_CHECK(editor.top() == start.top());
        CHILD_CHECK(screen.roomForBoth == !list.intersects(editor));
        CHILD_CHECK(list.intersected(editor).width() == (screen.roomForBoth ? 0 : covered));
        CloseList();
      }),
      ::testing::ExitedWithCode(0), "");
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::unsetenv("DISPLAY");
}

INSTANTIATE_TEST_SUITE_P(Screens, SkillListOnTheDesktop,
                         ::testing::Values(Screen{1366, 768, true}, Screen{1280, 768, false},
                                           Screen{1280, 1024, false}),
                         [](const auto& param) {
                           return std::to_string(param.param.width) + "x" +
                                  std::to_string(param.param.height);
                         });

}  // namespace
