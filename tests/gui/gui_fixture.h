// Shared set-up of the GUI tests: one application per test process on the
// offscreen platform, a Qt backend and a runtime per test, small helpers to
// reach the widgets of a form and to let the loop run.
#pragma once

#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QPixmap>
#include <QScreen>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/qt/convert.h"
#include "framework/qt/qt_backend.h"
#include "framework/runtime.h"
#include "platform/codepage.h"

namespace gui_test {

inline std::string Gbk(std::string_view utf8) {
  return platform::Utf8ToGbk(utf8);
}
inline std::string Utf8(std::string_view gbk) {
  return platform::GbkToUtf8(gbk);
}

// The application of this process, made on first use. Tests run on the
// offscreen platform unless the environment says otherwise, without sound.
inline fw::qt::Application& App() {
  static fw::qt::Application* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    static int argc = 1;
    static char name[] = "gui_tests";
    static char* argv[] = {name, nullptr};
    return new fw::qt::Application(argc, argv);
  }();
  return *app;
}

// What the screen shows of `w`: its part of its window's backing store,
// once Qt has delivered what was due (layouts and paints included).
inline QImage OnScreen(QWidget* w) {
  for (int turn = 0; turn < 4; ++turn) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  QWidget* top = w->window();
  const QPoint at = w->mapTo(top, QPoint(0, 0));
  const QPixmap shot =
      top->screen()->grabWindow(top->winId(), at.x(), at.y(), w->width(), w->height());
  return shot.toImage().convertToFormat(QImage::Format_RGB32);
}
// What its window paints afresh where `w` lies.
inline QImage Repainted(QWidget* w) {
  QWidget* top = w->window();
  const QRect area(w->mapTo(top, QPoint(0, 0)), w->size());
  return top->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
}
// Whether the screen shows `w` as it is now: a widget whose data changed
// without a repaint keeps its old picture on the screen.
inline bool ShowsItself(QWidget* w) {
  return OnScreen(w) == Repainted(w);
}

// Drags `files` onto `target` in its top-level `window` and drops them at
// the target's centre, as the window system does; returns whether the drop
// was taken.
inline bool DropFiles(QWidget* window, QWidget* target, const QStringList& files) {
  const QPoint pos = target->mapTo(window, target->rect().center());
  QMimeData mime;
  QList<QUrl> urls;
  for (const QString& f : files) urls.push_back(QUrl::fromLocalFile(f));
  mime.setUrls(urls);
  QWindow* native = window->windowHandle();
  QDragEnterEvent enter(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(native, &enter);
  if (!enter.isAccepted()) {
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(native, &leave);
    return false;
  }
  QDragMoveEvent move(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(native, &move);
  QDropEvent drop(pos, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(native, &drop);
  return drop.isAccepted();
}

// A log of what handlers saw, shared by the plain-function handlers of the
// test forms.
inline std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}
inline void Note(std::string line) {
  Log().push_back(std::move(line));
}

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    Log().clear();
    backend_ = std::make_unique<fw::qt::QtBackend>();
    runtime_ = std::make_unique<fw::Runtime>(*backend_);
  }
  void TearDown() override {
    runtime_.reset();
    backend_.reset();
  }

  fw::qt::QtBackend& backend() { return *backend_; }

  QWidget* WindowWidget(std::string_view window) {
    return backend_->WindowWidget(fw::GetWindow(window));
  }
  template <class W = QWidget>
  W* Widget(std::string_view window, std::string_view unit) {
    QWidget* w = backend_->UnitWidget(fw::GetControl(window, unit));
    return dynamic_cast<W*>(w);
  }

  // Lets the loop serve for `ms` milliseconds of real time.
  static void Serve(std::int64_t ms) { fw::DelayWithMessages(ms); }
  // Serves until `done` holds or `timeoutMs` passed; returns `done()`.
  static bool ServeUntil(const std::function<bool()>& done, std::int64_t timeoutMs = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
      if (std::chrono::steady_clock::now() > end) return false;
      fw::DelayWithMessages(5);
    }
    return true;
  }

 private:
  std::unique_ptr<fw::qt::QtBackend> backend_;
  std::unique_ptr<fw::Runtime> runtime_;
};

}  // namespace gui_test
