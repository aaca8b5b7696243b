// Windows and the window system through the real widgets: a window that
// becomes layered while it is shown, moves and states that the window
// system makes, the keys of a form.
#include <QGuiApplication>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>
#include <vector>

#include "forms.h"
#include "framework/units.h"

namespace {

using namespace gui_test;
using fw::Event;

fw::WindowDef PlainForm() {
  return fw::WindowDef("Plain", "平", 200, 120)
      .At(60, 70)
      .OnTop()
      .Draggable()
      .Units({
          fw::ButtonUnit("确定", {10, 10, 60, 24}, "确定"),
          fw::ButtonUnit("取消", {100, 10, 60, 24}, "取消"),
      })
      .Bind({
          {"", Event::Moved, &OnAnyEvent},
          {"确定", Event::Clicked, &OnAnyEvent},
          {"取消", Event::Clicked, &OnAnyEvent},
      })
      .EnterPresses({"确定"})
      .EscapePresses({"取消"});
}

class WindowSystem : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    fw::RegisterForm(PlainForm());
    ASSERT_TRUE(window().Load());
    Log().clear();
  }
  fw::Window& window() { return fw::GetWindow("Plain"); }
  QWidget* view() { return WindowWidget("Plain"); }
};

// Half the frame opaque red, the other half fully transparent.
fw::Frame HalfRed(int width, int height) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height), 0u);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width / 2; ++x)
      pixels[static_cast<std::size_t>(y * width + x)] = 0xFFFF0000u;
  }
  return {width, height, std::make_shared<const std::vector<std::uint32_t>>(std::move(pixels))};
}

TEST_F(WindowSystem, AShownWindowBecomesLayeredAndShowsOnlyItsFrame) {
  ASSERT_TRUE(view()->testAttribute(Qt::WA_WState_Created));
  ASSERT_FALSE(view()->testAttribute(Qt::WA_TranslucentBackground));
  window().PresentLayered(HalfRed(200, 120));
  Serve(20);
  QWidget* v = view();
  EXPECT_TRUE(v->testAttribute(Qt::WA_TranslucentBackground));
  EXPECT_TRUE(v->isVisible());
  // The form's flags stay: still on top.
  EXPECT_TRUE(v->windowFlags() & Qt::WindowStaysOnTopHint);
  // The units are not shown; the frame is, pixel for pixel.
  EXPECT_FALSE(Widget("Plain", "确定")->isVisible());
  const QImage shot = v->grab().toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_EQ(shot.pixel(10, 60), 0xFFFF0000u);
  EXPECT_EQ(qAlpha(shot.pixel(150, 60)), 0);
  // A unit shown by the program afterwards stays hidden in a layered window.
  fw::GetControl("Plain", "确定").SetVisible(false);
  fw::GetControl("Plain", "确定").SetVisible(true);
  EXPECT_FALSE(Widget("Plain", "确定")->isVisible());
  EXPECT_EQ(window().Geometry(), (fw::Rect{60, 70, 200, 120}));
}

// The window system moving a window (here the native window is moved
// behind the framework's back) reaches the model, which raises Moved.
TEST_F(WindowSystem, TheModelFollowsWhereTheWindowSystemPutsTheWindow) {
  view()->windowHandle()->setPosition(300, 250);
  ASSERT_TRUE(ServeUntil([&] { return window().Left() == 300; }));
  EXPECT_EQ(window().Geometry(), (fw::Rect{300, 250, 200, 120}));
  EXPECT_EQ(Count("Plain Moved"), 1);
  // Moves the program makes itself are not reported back as new moves.
  window().SetGeometry({10, 20, 150, 100});
  window().SetGeometry({30, 40, 160, 90});
  Serve(30);
  EXPECT_EQ(window().Geometry(), (fw::Rect{30, 40, 160, 90}));
  EXPECT_EQ(view()->geometry(), QRect(30, 40, 160, 90));
}

// Only the program sizes its windows: the window system is told the size is
// fixed, and a maximised window comes back to its own size.
TEST_F(WindowSystem, WindowsCannotBeResizedOrMaximisedFromOutside) {
  EXPECT_EQ(view()->minimumSize(), QSize(200, 120));
  EXPECT_EQ(view()->maximumSize(), QSize(200, 120));
  window().SetWidth(320);
  EXPECT_EQ(view()->maximumSize(), QSize(320, 120));
  view()->showMaximized();
  Serve(30);
  EXPECT_FALSE(view()->isMaximized());
  EXPECT_EQ(window().Geometry(), (fw::Rect{60, 70, 320, 120}));
}

TEST_F(WindowSystem, EnterAndEscapePressTheFormsButtons) {
  QTest::keyClick(view(), Qt::Key_Return);
  QTest::keyClick(view(), Qt::Key_Escape);
  QTest::keyClick(view(), Qt::Key_Enter);
  QTest::keyClick(view(), Qt::Key_A);
  EXPECT_EQ(Log(), (std::vector<std::string>{"确定 Clicked", "取消 Clicked", "确定 Clicked"}));
}

// ---- Modal windows and the keyboard ------------------------------------------

fw::WindowDef HostForm() {
  return fw::WindowDef("Host", "主", 300, 200)
      .At(20, 20)
      .InTaskbar()
      .Units({fw::ButtonUnit("按钮", {10, 10, 60, 24}, "按钮")})
      .Bind({{"按钮", Event::Clicked, &OnAnyEvent}});
}

class ModalFocus : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    fw::RegisterForm(HostForm());
    fw::RegisterForm(PlainForm());
    ASSERT_TRUE(fw::GetWindow("Host").Load());
  }
  static bool HasTheFocus(QWidget* w) {
    return QGuiApplication::focusWindow() == w->windowHandle();
  }
};

// The window that a modal window blocks never keeps the keyboard: activated
// (as a window manager does on a click), or clicked, it gives the focus back
// to the modal window, where Enter then answers.
TEST_F(ModalFocus, ABlockedWindowGivesTheFocusBackToTheModalWindow) {
  bool checked = false;
  QTimer::singleShot(0, [&] {
    QWidget* host = WindowWidget("Host");
    QWidget* modal = WindowWidget("Plain");
    EXPECT_TRUE(ServeUntil([&] { return HasTheFocus(modal); }));
    host->activateWindow();
    Serve(50);
    EXPECT_TRUE(HasTheFocus(modal));
    QTest::mouseClick(Widget("Host", "按钮"), Qt::LeftButton);
    Serve(50);
    EXPECT_TRUE(HasTheFocus(modal));
    QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Return);
    EXPECT_EQ(Log(), (std::vector<std::string>{"确定 Clicked"}));
    checked = true;
    fw::GetWindow("Plain").Destroy();
  });
  fw::LoadOptions modal;
  modal.modal = true;
  modal.owner = &fw::GetWindow("Host");
  fw::GetWindow("Plain").Load(modal);
  EXPECT_TRUE(checked);
}

}  // namespace
