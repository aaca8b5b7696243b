// The widgets that mirror windows and units. Each view reads its model to
// show it (Refresh) and reports what the user does through fw::input; it
// never writes a model itself and never raises an event for a change the
// program made. Views outlive their models' loaded state only as dead
// widgets waiting to be freed: once killed, a view ignores everything.
#pragma once

#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "framework/qt/view_host.h"
#include "framework/runtime.h"
#include "framework/unit.h"
#include "framework/units.h"

namespace fw::qt {

// Whether the form binds a handler to this unit's event.
bool HasBinding(const Control& unit, Event event);
// Units that only decorate (labels and pictures that take no clicks, group
// boxes) lie below the units the user works with when they overlap.
bool IsDecoration(const Control& unit);
// A window that only shows pictures (its units are pictures, timers and
// drop targets, none of them clickable, and it shows at least one picture
// or is drawn from its back picture) lets mouse input through, as does a
// window flagged input-transparent.
bool IsInputTransparent(const Window& window);

// The part every unit view shares. The widget is the view object itself
// (each view derives from a Qt widget and from UnitView).
class UnitView {
 public:
  UnitView(ViewHost& backend, Control& unit, QWidget* widget);
  virtual ~UnitView();
  UnitView(const UnitView&) = delete;
  UnitView& operator=(const UnitView&) = delete;

  Control& unit() const { return *unit_; }
  QWidget* widget() const { return widget_; }
  // Where the units whose parent is this unit live (group box, tab page).
  virtual QWidget* Container(int page);

  // Reads the model's property into the widget.
  void Refresh(Prop what);
  void RefreshAll();
  // A grid write, in detail (grids only).
  void RefreshGrid(const GridChange& change) {
    if (!dead_) ShowGridChange(change);
  }
  // The window was destroyed: the view ignores its model from now on.
  void Kill() {
    dead_ = true;
    Killed();
  }
  bool Live() const { return !dead_; }
  // Changes held while handlers run (one bit per Prop), for the backend
  // to show later: Hold tells whether the view had none held before.
  bool Hold(Prop what) {
    const std::uint32_t before = held_;
    held_ |= 1u << static_cast<unsigned>(what);
    return before == 0;
  }
  std::uint32_t TakeHeld() { return std::exchange(held_, 0u); }

 protected:
  virtual void RefreshGeometry();
  virtual void RefreshText() {}
  virtual void RefreshDisabled();
  virtual void RefreshFont();
  virtual void RefreshColours() {}
  virtual void RefreshKind(Prop) {}
  virtual void ShowGridChange(const GridChange&) {}
  // The view was killed: a view that reads its model while painting stops.
  virtual void Killed() {}

  // Text colour and back colour of the model into these palette roles;
  // unset colours keep the style's. `fill` paints the back colour.
  void ApplyColours(QPalette::ColorRole text, QPalette::ColorRole back, bool fill);
  // The palette ApplyColours sets, and setting a palette only when it
  // differs from the widget's own.
  QPalette ColoursPalette(QPalette::ColorRole text, QPalette::ColorRole back) const;
  void SetPalette(const QPalette& pal);

  ViewHost& backend_;

 private:
  Control* unit_;
  QWidget* widget_;
  bool dead_ = false;
  std::uint32_t held_ = 0;
};

// Tells every table the grid writes it has not been told yet. The backend
// calls it before Qt delivers an event and before the loop waits, so no
// paint, input or timer ever meets a table behind its grid.
void ShowHeldGridWrites();

// Creates the view of a unit inside `parent`; nullptr for the kinds
// without a view (timers, drop targets).
UnitView* CreateUnitView(ViewHost& backend, Control& unit, QWidget* parent);

// Qt tells a window nothing more of a drag whose entry it refused, and
// answers the drag source for the entry as the entering event stands when
// its delivery returns. So a window takes the entry of every drag of files,
// and the program's application calls this once an entering drag has been
// delivered to `receiver`: the window then answers for the entry's point
// as it does for every later one (a copy over a drop target, "no" elsewhere).
void AnswerEnteringDrag(QObject* receiver, QDragEnterEvent* event);

// A loaded window: a frameless top-level widget, or a child widget of the
// window it is embedded in.
class WindowView final : public QWidget {
 public:
  WindowView(ViewHost& backend, Window& window);
  ~WindowView() override;

  Window& model() const { return *window_; }
  void Refresh(Prop what);
  void RefreshAll();
  void Kill();
  bool Live() const { return !dead_; }
  // A compositing manager started or stopped: the window's shape follows.
  void FollowCompositor() { ApplyShape(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void ApplyGeometry();
  void ApplyParent();
  void ApplyVisible();
  void ApplyBackImage();
  // A new frame of a layered window; the first one makes the window
  // translucent, rebuilding its native window if it exists already.
  void ApplyFrame();
  void BecomeLayered();
  // The shape of a window that shows per-pixel alpha (a layered window's
  // frame, a translucent window's picture): with a compositing manager
  // none, each pixel showing with its alpha; without one the transparent
  // parts would show black, so the window takes the shape of the pixels
  // that are at least half opaque (fainter ones, such as a soft shadow,
  // would show as dark blots there).
  void ApplyShape();
  // The window system moved or resized this top-level window: the model
  // follows, unless the geometry is one the program asked for itself.
  void SystemGeometryChanged();
  // A layered window whose program takes its raw input (the skinned-window
  // module) gets the mouse and keys instead of its units.
  bool TakesRawInput() const;
  bool ForwardPointer(RawInput::Kind kind, const QMouseEvent* event);
  // An owned window stays above its owner.
  void KeepAboveOwner();
  // The unit with a registered drop target under `pos`, or nullptr.
  Control* DropTargetAt(const QPoint& pos) const;
  // Whether files dropped at `pos` would reach a drop target now.
  bool TakesDropAt(const QPoint& pos) const;
  // The answer to the drag source at the drag's point: a copy over a drop
  // target, "no" elsewhere.
  void AnswerDrag(QDragMoveEvent& event) const;
  friend void AnswerEnteringDrag(QObject* receiver, QDragEnterEvent* event);

  ViewHost& backend_;
  Window* window_;
  bool dead_ = false;
  bool embedded_ = false;
  QPixmap back_;
  bool layered_ = false;
  QPixmap frame_;  // layered: what the window shows
  // Top-level geometries applied from the model whose report from the
  // window system may still come (X11 reports them late), oldest first.
  std::deque<QRect> requested_;
  bool applying_ = false;  // ApplyGeometry is running
  bool dragging_ = false;
  bool dragHasFiles_ = false;  // the drag over the window carries local files
  QPoint pressGlobal_;
  QPoint pressOrigin_;
};

}  // namespace fw::qt
