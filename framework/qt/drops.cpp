// Files dragged onto a window: the window's view takes them for its drop
// targets.
#include "framework/qt/window_view.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <string>
#include <utility>
#include <vector>

#include "framework/input.h"
#include "framework/qt/convert.h"
#include "framework/qt/unit_view.h"

namespace fw::qt {

namespace {

// The local files of a drag, as GBK paths. A path that does not come back
// unchanged from GBK is passed as one that names no file: its GBK form
// would name another file, or none.
std::vector<std::string> DroppedPaths(const QMimeData* mime) {
  std::vector<std::string> paths;
  if (mime == nullptr || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    std::string gbk = ToGbk(path);
    paths.push_back(FromGbk(gbk) == path ? std::move(gbk) : std::string(kPathOutsideGbk));
  }
  return paths;
}

}  // namespace

Control* WindowView::DropTargetAt(const QPoint& pos) const {
  if (dead_) return nullptr;
  for (QWidget* w = childAt(pos); w != nullptr && w != this; w = w->parentWidget()) {
    if (dynamic_cast<WindowView*>(w) != nullptr) return nullptr;  // another window's
    auto* view = dynamic_cast<UnitView*>(w);
    if (view == nullptr) continue;
    for (const UnitDef& u : window_->definition().units) {
      if (u.kind != Kind::DropTarget) continue;
      Control* c = window_->Find(u.name);
      if (c != nullptr && static_cast<DropTarget*>(c)->Target() == &view->unit()) {
        return &view->unit();
      }
    }
    return nullptr;
  }
  return nullptr;
}

// Files are taken by the window, not by the unit they are dropped on: a
// disabled unit receives no drops from Qt, and an edit box would paste the
// paths as text. The window takes every entering drag that carries files,
// wherever it enters (the toolkit tells the window nothing more of a drag
// whose entry it refused), and answers the drag source at each point:
// a copy over a drop target, "no" elsewhere (AnswerEnteringDrag puts that
// answer on the entry itself once the toolkit has taken it).
void WindowView::dragEnterEvent(QDragEnterEvent* e) {
  dragHasFiles_ = !dead_ && !DroppedPaths(e->mimeData()).empty();
  if (dragHasFiles_) {
    e->accept();
  } else {
    e->ignore();
  }
}

void WindowView::dragMoveEvent(QDragMoveEvent* e) {
  AnswerDrag(*e);
}

void WindowView::dragLeaveEvent(QDragLeaveEvent* e) {
  dragHasFiles_ = false;
  QWidget::dragLeaveEvent(e);
}

namespace {

// What a drop target takes: a copy (a file manager deletes a file that was
// moved), else a link; a drag offered only as a move is refused.
Qt::DropAction TakenAction(Qt::DropActions possible) {
  if (possible & Qt::CopyAction) return Qt::CopyAction;
  if (possible & Qt::LinkAction) return Qt::LinkAction;
  return Qt::IgnoreAction;
}

}  // namespace

bool WindowView::TakesDropAt(const QPoint& pos) const {
  return !dead_ && !window_->Blocked() && DropTargetAt(pos) != nullptr;
}

void WindowView::AnswerDrag(QDragMoveEvent& e) const {
  const Qt::DropAction action = TakenAction(e.possibleActions());
  if (dragHasFiles_ && action != Qt::IgnoreAction && TakesDropAt(e.position().toPoint())) {
    e.setDropAction(action);
    e.accept();
  } else {
    e.setDropAction(Qt::IgnoreAction);
    e.ignore();
  }
}

void WindowView::dropEvent(QDropEvent* e) {
  dragHasFiles_ = false;
  const QPoint pos = e->position().toPoint();
  const Qt::DropAction action = TakenAction(e->possibleActions());
  Control* target = TakesDropAt(pos) ? DropTargetAt(pos) : nullptr;
  const std::vector<std::string> paths = DroppedPaths(e->mimeData());
  // The handler may wait in a prompt and destroy this window: only the
  // event is looked at afterwards.
  const bool taken = target != nullptr && !paths.empty() && action != Qt::IgnoreAction &&
                     input::DropFiles(*target, paths);
  e->setDropAction(taken ? action : Qt::IgnoreAction);
  e->setAccepted(taken);
}

void AnswerEnteringDrag(QObject* receiver, QDragEnterEvent* event) {
  auto* view = dynamic_cast<WindowView*>(receiver);
  if (view != nullptr && event->isAccepted()) view->AnswerDrag(*event);
}

}  // namespace fw::qt
