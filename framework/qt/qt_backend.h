// The Qt 6 Widgets backend of the framework: every loaded window is a
// frameless widget, every visible unit a widget inside it. The models stay
// the source of truth: views are filled from them on CreateView and Changed,
// and what the user does reaches them only through fw::input.
//
// The program's main is a few lines:
//
//   int main(int argc, char** argv) {
//     return fw::qt::RunProgram(argc, argv, &app::ProgramStart);
//   }
//
// Tests build the same objects themselves: one fw::qt::Application per
// process, then a QtBackend and a fw::Runtime over it per test.
#pragma once

#include <QApplication>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/backend.h"
#include "framework/qt/view_host.h"
#include "framework/runtime.h"

class QObject;
class QWidget;

namespace platform {
class SoundPlayer;
}

namespace fw::qt {

class WindowView;
class UnitView;
class QtTextRasteriser;
class CompositorWatch;

// The platform plugin to ask for, given the environment: an explicit
// QT_QPA_PLATFORM wins; a Wayland session gets "xcb" (XWayland), because
// windows placed at absolute screen positions need X11; otherwise nothing
// (Qt's own choice). Empty result: leave the environment alone.
std::string ChoosePlatform(std::string_view qpaPlatform, std::string_view sessionType,
                           std::string_view waylandDisplay);
// Applies ChoosePlatform to the process environment. Must run before the
// QApplication is created (Application does it).
void PreparePlatform();

// The application object of the program and of the GUI tests. It prepares
// the platform, never quits when its last window closes (closing windows
// never ends the program; only fw::Exit does), sets the look (Fusion style,
// the Windows-like grey ground, the CJK font as default font) and counts
// the event deliveries that are in progress, so that dead views are freed
// only when no widget code can be on the stack.
class Application final : public QApplication {
 public:
  Application(int& argc, char** argv);
  ~Application() override;

  bool notify(QObject* receiver, QEvent* event) override;
  // Event deliveries currently on the stack (0 at the loop's top level).
  int DeliveryDepth() const { return deliveryDepth_; }
  // Events delivered so far (for tests that check what a wait did).
  std::uint64_t Deliveries() const { return deliveries_; }

  static Application* Instance();

 private:
  int deliveryDepth_ = 0;
  std::uint64_t deliveries_ = 0;
};

class QtBackend final : public Backend, public ViewHost {
 public:
  // Needs a live Application.
  QtBackend();
  ~QtBackend() override;
  QtBackend(const QtBackend&) = delete;
  QtBackend& operator=(const QtBackend&) = delete;

  // ---- Backend ----
  bool CreateView(Window& window) override;
  void DestroyView(Window& window) override;
  void Changed(Control& unit, Prop what) override;
  void GridChanged(Grid& grid, const GridChange& change) override;
  void WindowChanged(Window& window, Prop what) override;
  void HandlerStarts() override;
  void HandlerEnds() override;
  void OwnerBlocked(Window& owner, bool blocked) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  std::int64_t NowMs() override;
  void PumpInput() override;
  void Wait(std::optional<std::int64_t> deadline) override;
  void Wake() override;
  void SetClipboardText(std::string_view gbk) override;
  std::string ClipboardText() override;
  bool PlaySound(std::span<const std::uint8_t> wave) override;
  std::string ProgramFolder() override;
  void ShowFatal(std::string_view gbk) override;
  // Flushes the standard streams and ends the process with the code;
  // nothing unwinds through Qt's frames.
  [[noreturn]] void EndProcess(const ProgramEnded& how) override;

  // ---- Views, for tests and tools ----
  // The widget of a loaded window, or of a unit that has a view (timers
  // and drop targets have none); nullptr otherwise. Widgets are named after
  // their unit or window (QObject::objectName, UTF-8).
  QWidget* WindowWidget(const Window& window) const;
  QWidget* UnitWidget(const Control& unit) const override;

  // Brings every view to what its model holds now: the changes held while
  // handlers ran and the grids' held writes. Called before Qt delivers an
  // event, before the loop waits and when the outermost handler returns.
  void ShowHeld();
  bool Holding() const override { return handlers_ > 0; }

  // ---- ViewHost, for the views ----
  QPixmap Picture(const Image& image) override;
  bool CompositorRuns() const override;
  void RecheckCompositor() override;
  WindowView* ViewOf(const Window& window) const override;
  UnitView* ViewOf(const Control& unit) const;

  static QtBackend* Current();

 private:
  void FreeDeadViews();
  bool FilterInput(QObject* target, QEvent* event);
  // Gives the keyboard focus to the modal window that blocks `blocked`.
  void FocusBlocker(const Window& blocked);
  class InputFilter;
  friend class InputFilter;
  class Waker;

  std::unordered_map<const Window*, WindowView*> windows_;
  std::unordered_map<const Control*, UnitView*> units_;
  // The grid written last and its view: a handler writes one grid cell by
  // cell, and each write is told to its view.
  const Control* lastGrid_ = nullptr;
  UnitView* lastGridView_ = nullptr;
  // What changed while a handler ran, in the order first changed: the unit
  // views keep their own held changes; the windows' are kept here, one bit
  // per Prop.
  std::vector<UnitView*> heldUnits_;
  struct HeldWindows {
    std::vector<const Window*> order;
    std::unordered_map<const Window*, std::uint32_t> props;
  };
  HeldWindows heldWindows_;
  int handlers_ = 0;  // handlers running
  std::vector<QPointer<QWidget>> dead_;
  std::unordered_map<const std::uint8_t*, QPixmap> pictures_;
  std::unique_ptr<platform::SoundPlayer> sound_;
  // The framework's text rasteriser, registered while this backend lives.
  std::unique_ptr<QtTextRasteriser> text_;
  std::unique_ptr<CompositorWatch> compositor_;
  std::unique_ptr<InputFilter> filter_;
  std::unique_ptr<Waker> waker_;
  std::atomic<bool> wakePending_{false};
};

// Creates the application, the backend and the runtime, runs `start` (the
// program's start routine) and returns its result. The program normally
// ends inside, through fw::Exit.
int RunProgram(int argc, char** argv, int (*start)());

}  // namespace fw::qt
