#include "framework/qt/window_view.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWindow>

#include "framework/form.h"
#include "framework/input.h"
#include "framework/qt/convert.h"
#include "framework/qt/unit_view.h"
#include "framework/qt/view_util.h"

namespace fw::qt {

bool IsInputTransparent(const Window& window) {
  const WindowDef& def = window.definition();
  if (def.flags.inputTransparent) return true;
  bool pictures = def.flags.translucent || !def.backImage.Empty();
  for (const UnitDef& u : def.units) {
    if (u.kind == Kind::Picture) {
      pictures = true;
    } else if (u.kind != Kind::Timer) {
      return false;
    }
  }
  for (const Binding& b : def.bindings) {
    if (!b.unit.empty() && b.event == Event::Clicked) return false;
  }
  return pictures;
}

// ---- WindowView --------------------------------------------------------

namespace {

Qt::WindowFlags TopLevelFlags(const Window& window) {
  const WindowFlags& f = window.definition().flags;
  // Qt::Tool windows get no taskbar button.
  Qt::WindowFlags flags = f.inTaskbar ? Qt::Window : Qt::Tool;
  if (f.frameless) flags |= Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
  if (f.onTop) flags |= Qt::WindowStaysOnTopHint;
  // Neither the mouse nor the keyboard: such a window never takes the focus
  // from the window the user works with.
  if (IsInputTransparent(window))
    flags |= Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus;
  return flags;
}

bool HasDropTarget(const Window& window) {
  for (const UnitDef& u : window.definition().units) {
    if (u.kind == Kind::DropTarget) return true;
  }
  return false;
}

// The Windows ground colour of dialogs.
const QColor kWindowGround(0xF0, 0xF0, 0xF0);

}  // namespace

WindowView::WindowView(ViewHost& backend, Window& window)
    : QWidget(nullptr, TopLevelFlags(window)), backend_(backend), window_(&window) {
  setObjectName(Utf8Name(window.name()));
  const WindowFlags& f = window.definition().flags;
  if (f.translucent) setAttribute(Qt::WA_TranslucentBackground);
  if (IsInputTransparent(window)) setAttribute(Qt::WA_TransparentForMouseEvents);
  setAcceptDrops(HasDropTarget(window));
  // A window whose form gives Enter or Escape a button takes the keys.
  const WindowDef& def = window.definition();
  if (!def.enterUnits.empty() || !def.escapeUnits.empty()) setFocusPolicy(Qt::StrongFocus);
}

WindowView::~WindowView() = default;

void WindowView::Kill() {
  dead_ = true;
  dragging_ = false;
  hide();
}

void WindowView::RefreshAll() {
  for (Prop p :
       {Prop::Text, Prop::Colours, Prop::Images, Prop::Parent, Prop::Geometry, Prop::Visible}) {
    Refresh(p);
  }
}

void WindowView::Refresh(Prop what) {
  if (dead_) return;
  switch (what) {
    case Prop::Geometry:
      ApplyGeometry();
      break;
    case Prop::Visible:
      ApplyVisible();
      break;
    case Prop::Text:
      setWindowTitle(FromGbk(window_->Caption()));
      break;
    case Prop::Colours:
      update();
      break;
    case Prop::Images:
      ApplyBackImage();
      break;
    case Prop::Parent:
      ApplyParent();
      break;
    case Prop::Minimised:
      if (!embedded_ && window_->Visible()) {
        if (window_->Minimised()) {
          showMinimized();
        } else if (isMinimized()) {
          showNormal();
        }
      }
      break;
    case Prop::ZOrder:
      raise();
      if (!embedded_ && !IsInputTransparent(*window_)) activateWindow();
      break;
    case Prop::Frame:
      ApplyFrame();
      break;
    case Prop::SystemMove:
      if (!embedded_ && windowHandle() != nullptr) windowHandle()->startSystemMove();
      break;
    default:
      break;
  }
}

void WindowView::ApplyGeometry() {
  const Rect r = window_->Geometry();
  if (embedded_) {
    setGeometry(r.left, r.top, std::max(0, r.width), std::max(0, r.height));
    return;
  }
  // A top-level window cannot be empty; the model keeps what was written.
  const QRect want(r.left, r.top, std::max(1, r.width), std::max(1, r.height));
  // Only the program sizes its windows: the size is fixed for the window
  // system, so the user can neither resize nor maximise them.
  applying_ = true;
  setMinimumSize(1, 1);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  setGeometry(want);
  setFixedSize(want.size());
  applying_ = false;
  if (requested_.empty() || requested_.back() != want) requested_.push_back(want);
  constexpr std::size_t kRemembered = 64;
  if (requested_.size() > kRemembered) requested_.pop_front();
}

void WindowView::SystemGeometryChanged() {
  if (dead_ || embedded_ || applying_ || !window_->IsLoaded()) return;
  const QRect now = geometry();
  const Rect m = window_->Geometry();
  if (now == QRect(m.left, m.top, std::max(1, m.width), std::max(1, m.height))) {
    requested_.clear();
    return;
  }
  // A late report of a geometry the program applied before its latest one.
  if (auto it = std::find(requested_.begin(), requested_.end(), now); it != requested_.end()) {
    requested_.erase(requested_.begin(), it + 1);
    return;
  }
  requested_.clear();
  input::PlaceWindow(*window_, {now.x(), now.y(), now.width(), now.height()});
}

void WindowView::moveEvent(QMoveEvent* e) {
  QWidget::moveEvent(e);
  SystemGeometryChanged();
}

void WindowView::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  SystemGeometryChanged();
}

bool WindowView::TakesRawInput() const {
  return !dead_ && layered_ && window_->HasRawInputHook();
}

bool WindowView::ForwardPointer(RawInput::Kind kind, const QMouseEvent* e) {
  if (!TakesRawInput()) return false;
  RawInput in;
  in.kind = kind;
  in.x = EventPos(e).x();
  in.y = EventPos(e).y();
  input::RawWindowInput(*window_, in);
  return true;
}

namespace {

// Keys without a character, as their Windows key codes.
int WindowsKeyCode(int qtKey) {
  switch (qtKey) {
    case Qt::Key_End:
      return 0x23;
    case Qt::Key_Home:
      return 0x24;
    case Qt::Key_Left:
      return 0x25;
    case Qt::Key_Up:
      return 0x26;
    case Qt::Key_Right:
      return 0x27;
    case Qt::Key_Down:
      return 0x28;
    case Qt::Key_Delete:
      return 0x2E;
    default:
      return 0;
  }
}

}  // namespace

void WindowView::keyPressEvent(QKeyEvent* e) {
  if (TakesRawInput()) {
    e->accept();
    RawInput in;
    if (e->key() == Qt::Key_Backspace) {
      in.kind = RawInput::Kind::Character;
      in.text = "\b";
    } else if (!e->text().isEmpty() && e->text().at(0).isPrint()) {
      in.kind = RawInput::Kind::Character;
      for (const QChar c : e->text()) {
        in.text = ToGbk(QString(c));
        input::RawWindowInput(*window_, in);
        if (dead_) return;
      }
      return;
    } else if (const int key = WindowsKeyCode(e->key()); key != 0) {
      in.kind = RawInput::Kind::KeyDown;
      in.key = key;
    } else {
      return;
    }
    input::RawWindowInput(*window_, in);
    return;
  }
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  const bool escape = e->key() == Qt::Key_Escape;
  if (dead_ || (!enter && !escape) || e->modifiers() != Qt::NoModifier) {
    QWidget::keyPressEvent(e);
    return;
  }
  e->accept();
  input::PressKey(*window_, enter ? input::Key::Enter : input::Key::Escape);
}

void WindowView::ApplyVisible() {
  if (!window_->Visible()) {
    hide();
    return;
  }
  if (!embedded_) KeepAboveOwner();
  if (!embedded_ && window_->Minimised()) {
    showMinimized();
  } else {
    show();
  }
  if (!embedded_ && window_->definition().flags.onTop) raise();
  // A window that takes Enter and Escape gets the keyboard when it shows.
  if (!embedded_ && focusPolicy() == Qt::StrongFocus && !IsInputTransparent(*window_)) {
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
  }
}

void WindowView::KeepAboveOwner() {
  Window* owner = window_->Owner();
  WindowView* ownerView = owner == nullptr ? nullptr : backend_.ViewOf(*owner);
  if (ownerView == nullptr) return;
  QWidget* top = ownerView->window();
  top->winId();  // the native windows must exist to be related
  winId();
  if (windowHandle() != nullptr) windowHandle()->setTransientParent(top->windowHandle());
}

void WindowView::ApplyParent() {
  Window* host = window_->EmbeddedIn();
  if (host == nullptr) return;
  WindowView* hostView = backend_.ViewOf(*host);
  if (hostView == nullptr || parentWidget() == hostView) return;
  embedded_ = true;
  dragging_ = false;
  requested_.clear();
  // An embedded window takes any size its parent's program gives it.
  setMinimumSize(0, 0);
  setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  clearMask();
  setParent(hostView, Qt::Widget);
  ApplyGeometry();
  raise();
  ApplyVisible();
}

void WindowView::ApplyBackImage() {
  back_ = backend_.Picture(window_->BackImage());
  ApplyShape();
  update();
}

namespace {

// A layered window's frame as an image over the frame's pixels (0xAARRGGBB
// per pixel is QImage's ARGB32); null for an empty frame.
QImage FrameImage(const Frame& f) {
  if (f.Empty()) return {};
  return QImage(reinterpret_cast<const uchar*>(f.pixels->data()), f.width, f.height,
                static_cast<qsizetype>(f.width) * 4, QImage::Format_ARGB32);
}

}  // namespace

void WindowView::ApplyShape() {
  if (dead_) return;
  QImage shown;
  if (layered_) {
    // An empty frame shows nothing new: the window keeps its shape.
    if (window_->LayeredFrame().Empty()) return;
    shown = FrameImage(window_->LayeredFrame());
  } else if (window_->definition().flags.translucent && back_.hasAlphaChannel()) {
    shown = back_.toImage();
  }
  if (embedded_ || shown.isNull() || backend_.CompositorRuns()) {
    clearMask();
  } else {
    setMask(QBitmap::fromImage(shown.createAlphaMask(Qt::ThresholdAlphaDither)));
  }
}

void WindowView::BecomeLayered() {
  layered_ = true;
  for (const UnitDef& def : window_->definition().units) {
    const Control* unit = window_->Find(def.name);
    if (QWidget* w = unit == nullptr ? nullptr : backend_.UnitWidget(*unit)) w->hide();
  }
  if (embedded_) return;
  // Translucency is fixed when the native window is made: a window that
  // has one gets a new one.
  const bool remake = testAttribute(Qt::WA_WState_Created);
  const bool shown = isVisible();
  if (remake) {
    hide();
    destroy();
  }
  setAttribute(Qt::WA_TranslucentBackground);
  // Whether a compositing manager shows the alpha, asked anew for each
  // window that turns layered (the figure beside every prompt).
  backend_.RecheckCompositor();
  // The program may draw units into the frame and take the mouse and keys
  // itself (a raw input hook); it then wants every move.
  setMouseTracking(true);
  if (!IsInputTransparent(*window_)) setFocusPolicy(Qt::StrongFocus);
  if (remake && shown) ApplyVisible();
}

void WindowView::ApplyFrame() {
  if (!layered_) BecomeLayered();
  // The image is copied before the frame's pixels could go.
  const QImage image = FrameImage(window_->LayeredFrame());
  frame_ = image.isNull() ? QPixmap() : QPixmap::fromImage(image.copy());
  ApplyShape();
  update();
}

void WindowView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (layered_) {
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!frame_.isNull()) p.drawPixmap(0, 0, frame_);
    return;
  }
  if (window_->definition().flags.translucent) {
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect(), Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  } else if (!dead_) {
    const QColor back = ToQColor(window_->BackColour());
    p.fillRect(rect(), back.isValid() ? back : kWindowGround);
  }
  if (!back_.isNull()) p.drawPixmap(0, 0, back_);
}

void WindowView::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && ForwardPointer(RawInput::Kind::LeftDown, e)) {
    e->accept();
    return;
  }
  if (!dead_ && e->button() == Qt::LeftButton && window_->definition().flags.draggable) {
    dragging_ = true;
    pressGlobal_ = e->globalPosition().toPoint();
    pressOrigin_ = QPoint(window_->Left(), window_->Top());
    e->accept();
    return;
  }
  QWidget::mousePressEvent(e);
}

void WindowView::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && ForwardPointer(RawInput::Kind::LeftDouble, e)) {
    e->accept();
    return;
  }
  QWidget::mouseDoubleClickEvent(e);
}

void WindowView::leaveEvent(QEvent* e) {
  if (TakesRawInput()) {
    RawInput in;
    in.kind = RawInput::Kind::PointerLeave;
    input::RawWindowInput(*window_, in);
  }
  QWidget::leaveEvent(e);
}

void WindowView::mouseMoveEvent(QMouseEvent* e) {
  if (ForwardPointer(RawInput::Kind::PointerMove, e)) {
    e->accept();
    return;
  }
  if (!dragging_ || dead_ || !(e->buttons() & Qt::LeftButton)) {
    QWidget::mouseMoveEvent(e);
    return;
  }
  e->accept();
  const QPoint to = pressOrigin_ + (e->globalPosition().toPoint() - pressGlobal_);
  if (to.x() != window_->Left() || to.y() != window_->Top()) {
    input::MoveWindow(*window_, to.x(), to.y());
  }
  if (!dead_) ApplyGeometry();
}

void WindowView::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && ForwardPointer(RawInput::Kind::LeftUp, e)) {
    e->accept();
    return;
  }
  if (dragging_ && e->button() == Qt::LeftButton) {
    dragging_ = false;
    e->accept();
    return;
  }
  QWidget::mouseReleaseEvent(e);
}

void WindowView::closeEvent(QCloseEvent* e) {
  // Qt never closes a window by itself: the request goes to the program,
  // which destroys the window or not.
  e->ignore();
  if (!dead_) input::RequestClose(*window_);
}

void WindowView::changeEvent(QEvent* e) {
  if (e->type() == QEvent::WindowStateChange && !dead_ && !embedded_ &&
      (isMaximized() || isFullScreen())) {
    // The program's windows keep the size it gives them.
    showNormal();
  }
  if (e->type() == QEvent::WindowStateChange && !dead_ && !embedded_) {
    const bool minimised = isMinimized();
    if (minimised != window_->Minimised()) input::SetMinimised(*window_, minimised);
  }
  QWidget::changeEvent(e);
}

}  // namespace fw::qt
