// The widget that mirrors a loaded window: a frameless top-level widget,
// or a child widget of the window it is embedded in. It reads its model to
// show it and reports what the user does through fw::input, like the unit
// views (unit_view.h); once killed, it ignores everything.
#pragma once

#include <QDragEnterEvent>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <deque>

#include "framework/qt/view_host.h"
#include "framework/runtime.h"
#include "framework/unit.h"

namespace fw::qt {

// A window that only shows pictures (its units are pictures, timers and
// drop targets, none of them clickable, and it shows at least one picture
// or is drawn from its back picture) lets mouse input through, as does a
// window flagged input-transparent.
bool IsInputTransparent(const Window& window);

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
