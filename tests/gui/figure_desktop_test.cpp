// The figure beside the prompt box on a desktop of the test's own, as the X
// server holds it: with a compositing manager its window keeps every
// pixel's alpha and has no shape, so the soft edge of the figure shows;
// without one it takes the shape of its at least half opaque pixels, so no
// black shows around it; and it follows a compositing manager that starts
// or stops while it shows. The real editor runs in a child process on the
// test's X server.
#include <sys/uio.h>

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "app/prompt.h"
#include "child_program.h"
#include "desktop_session.h"
#include "framework/runtime.h"
#include "gui_fixture.h"

namespace {

using namespace gui_test;

// ---- What the X server holds ------------------------------------------------

// Whether the window has a bounding shape (the SHAPE extension's
// QueryExtents, sent by hand: only the core protocol's headers are here).
bool Shaped(xcb_connection_t* c, xcb_window_t window) {
  static xcb_extension_t shape{"SHAPE", 0};
  struct {
    std::uint8_t major;
    std::uint8_t minor;
    std::uint16_t length;
    std::uint32_t window;
  } request{0, 5 /* QueryExtents */, 2, window};
  const xcb_protocol_request_t protocol{2, &shape, 5, 0};
  iovec parts[4] = {};
  parts[2].iov_base = &request;
  parts[2].iov_len = sizeof request;
  const unsigned sequence = xcb_send_request(c, XCB_REQUEST_CHECKED, parts + 2, &protocol);
  xcb_generic_error_t* error = nullptr;
  auto* reply = static_cast<std::uint8_t*>(xcb_wait_for_reply(c, sequence, &error));
  const bool shaped = reply != nullptr && reply[8] != 0;  // bounding_shaped
  std::free(reply);
  std::free(error);
  return shaped;
}

int Depth(xcb_connection_t* c, xcb_window_t window) {
  xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
  const int depth = g != nullptr ? g->depth : 0;
  std::free(g);
  return depth;
}

// The window's pixels as the X server holds them: a 32-bit window's with
// their (premultiplied) alpha, a 24-bit window's opaque.
QImage Pixels(xcb_connection_t* c, xcb_window_t window, QSize size) {
  xcb_get_image_reply_t* reply =
      xcb_get_image_reply(c,
                          xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                        static_cast<std::uint16_t>(size.width()),
                                        static_cast<std::uint16_t>(size.height()), ~0u),
                          nullptr);
  if (reply == nullptr) return {};
  QImage image(size,
               reply->depth == 32 ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  const int stride = xcb_get_image_data_length(reply) / size.height();
  for (int y = 0; y < size.height(); ++y) {
    std::memcpy(image.scanLine(y), xcb_get_image_data(reply) + y * stride,
                static_cast<std::size_t>(size.width()) * 4);
  }
  std::free(reply);
  return image;
}

// ---- In the editor -------------------------------------------------------------

xcb_window_t Native(const char* window) {
  return static_cast<xcb_window_t>(Win(window)->winId());
}

// Serves the editor until `done` holds, for at most three seconds.
bool Within3s(const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    fw::DelayWithMessages(10);
  }
  return true;
}

// What the screen shows of the editor, the box and the figure: each
// window's pixels as the X server holds them, the figure's laid over the
// others with its alpha by a compositing manager, or without one opaque
// inside its shape (its transparent pixels black).
QImage Screen(xcb_connection_t* c, bool composited) {
  QWidget* main = Win("MainWindow");
  QImage screen(main->size(), QImage::Format_RGB32);
  screen.fill(Qt::black);
  QPainter p(&screen);
  for (const char* name : {"MainWindow", "PromptWindow", "PromptBackdropWindow"}) {
    QWidget* w = Win(name);
    const QImage pixels = Pixels(c, Native(name), w->size());
    const QPoint at = w->pos() - main->pos();
    if (composited || pixels.format() == QImage::Format_RGB32) {
      p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
      p.setCompositionMode(QPainter::CompositionMode_Source);
      p.setClipRegion(w->mask().isEmpty() ? QRegion(w->rect()).translated(at)
                                          : w->mask().translated(at));
    }
    p.drawImage(at, composited ? pixels : pixels.convertToFormat(QImage::Format_RGB32));
    p.setClipping(false);
  }
  return screen;
}

// Whether the figure's window holds every pixel's alpha as the frame
// composed it, soft edge included.
bool HoldsTheFiguresAlpha(xcb_connection_t* c) {
  const fw::Frame& frame = fw::GetWindow("PromptBackdropWindow").LayeredFrame();
  const QImage held = Pixels(c, Native("PromptBackdropWindow"), QSize(frame.width, frame.height));
  if (held.size() != QSize(frame.width, frame.height)) return false;
  int soft = 0;
  for (int y = 0; y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) {
      const int alpha = static_cast<int>(frame.At(x, y) >> 24);
      if (qAlpha(held.pixel(x, y)) != alpha) return false;
      soft += alpha > 0 && alpha < 128 ? 1 : 0;
    }
  }
  return soft > 1000;  // the figure's soft edge is there
}

// Shows a prompt; once the box stands open with its figure, `check` runs
// with a connection of its own to the X server, then the box is answered.
void WhileThePromptShows(const std::function<void(xcb_connection_t*)>& check) {
  const auto open = WhenThePromptStandsOpen([&] {
    CHILD_CHECK(Win("PromptBackdropWindow") != nullptr && Win("PromptBackdropWindow")->isVisible());
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    CHILD_CHECK(xcb_connection_has_error(c) == 0);
    if (xcb_connection_has_error(c) == 0) check(c);
    xcb_disconnect(c);
    QTest::keyClick(Win("PromptWindow"), Qt::Key_Return);
  });
  app::ShowPromptBox({}, Gbk("技能数据已复制！"), {}, false);
}

// ---- The tests ------------------------------------------------------------------

class FigureOnTheDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (server_.display().empty()) GTEST_SKIP() << "no Xvfb here";
    ASSERT_TRUE(wm_.Running()) << "openbox did not start";
    // The editor runs in a forked child on the test's X server.
    GTEST_FLAG_SET(death_test_style, "fast");
    ::setenv("DISPLAY", server_.display().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
  OwnXServer server_{1366, 768};
  WindowManager wm_{server_.display()};
};

TEST_F(FigureOnTheDesktop, WithACompositorItKeepsItsAlphaAndHasNoShape) {
  Compositor compositor(server_.display());
  ASSERT_TRUE(compositor.Running()) << "xcompmgr did not start";
  EXPECT_EXIT(RunEditor([] {
                WhileThePromptShows([](xcb_connection_t* c) {
                  const xcb_window_t figure = Native("PromptBackdropWindow");
                  CHILD_CHECK(Depth(c, figure) == 32);
                  CHILD_CHECK(!Shaped(c, figure));
                  CHILD_CHECK(Within3s([&] { return HoldsTheFiguresAlpha(c); }));
                  LeavePicture(Screen(c, true), "figure_with_compositor", __LINE__);
                });
              }),
              ::testing::ExitedWithCode(0), "");
}

TEST_F(FigureOnTheDesktop, WithoutACompositorItTakesTheShapeOfItsPicture) {
  EXPECT_EXIT(RunEditor([] {
                WhileThePromptShows([](xcb_connection_t* c) {
                  CHILD_CHECK(Shaped(c, Native("PromptBackdropWindow")));
                  LeavePicture(Screen(c, false), "figure_without_compositor", __LINE__);
                });
              }),
              ::testing::ExitedWithCode(0), "");
}

TEST_F(FigureOnTheDesktop, ItFollowsACompositorThatStartsAndStopsWhileItShows) {
  const std::string display = server_.display();
  EXPECT_EXIT(RunEditor([display] {
                WhileThePromptShows([&display](xcb_connection_t* c) {
                  const xcb_window_t figure = Native("PromptBackdropWindow");
                  CHILD_CHECK(Shaped(c, figure));
                  {
                    Compositor compositor(display);
                    CHILD_CHECK(compositor.Running());
                    CHILD_CHECK(Within3s([&] { return !Shaped(c, figure); }));
                    // What the shape hid shows once the window has painted it.
                    CHILD_CHECK(Within3s([&] { return HoldsTheFiguresAlpha(c); }));
                  }
                  CHILD_CHECK(Within3s([&] { return Shaped(c, figure); }));
                });
              }),
              ::testing::ExitedWithCode(0), "");
}

}  // namespace
