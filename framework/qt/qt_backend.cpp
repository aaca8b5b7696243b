#include "framework/qt/qt_backend.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "framework/input.h"
#include "framework/qt/clipboard_handoff.h"
#include "framework/qt/convert.h"
#include "framework/qt/text_rasteriser.h"
#include "framework/qt/unit_view.h"
#include "framework/qt/window_view.h"
#include "framework/qt/x11.h"
#include "platform/files.h"
#include "platform/image.h"
#include "platform/sound.h"

namespace fw::qt {

// ---- Platform and application ------------------------------------------

std::string ChoosePlatform(std::string_view qpaPlatform, std::string_view sessionType,
                           std::string_view waylandDisplay) {
  if (!qpaPlatform.empty()) return {};
  if (sessionType == "wayland" || !waylandDisplay.empty()) {
    // XWayland first; Wayland itself only when there is no XWayland.
    return "xcb;wayland";
  }
  return {};
}

void PreparePlatform() {
  auto env = [](const char* name) -> std::string_view {
    const char* v = std::getenv(name);
    return v == nullptr ? std::string_view() : std::string_view(v);
  };
  const std::string choice =
      ChoosePlatform(env("QT_QPA_PLATFORM"), env("XDG_SESSION_TYPE"), env("WAYLAND_DISPLAY"));
  if (!choice.empty()) setenv("QT_QPA_PLATFORM", choice.c_str(), 1);
}

Application::Application(int& argc, char** argv) : QApplication((PreparePlatform(), argc), argv) {
  // Closing windows, the last one too, never ends the program: only the
  // program's exit road does.
  setQuitOnLastWindowClosed(false);
  if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) setStyle(fusion);
  QPalette pal = style()->standardPalette();
  const QColor ground(0xF0, 0xF0, 0xF0);
  pal.setColor(QPalette::Window, ground);
  pal.setColor(QPalette::Button, ground);
  setPalette(pal);
  // The toolkit's own texts (the edit boxes' context menus, standard
  // buttons) in the editor's language.
  auto* translator = new QTranslator(this);
  if (translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    installTranslator(translator);
  }
  QFont f = font();
  const QString cjk = CjkFamily();
  if (!cjk.isEmpty()) f.setFamily(cjk);
  f.setPointSizeF(9);
  // The editor's texts are Chinese and plain Latin, which need no OpenType
  // shaping: laying them out without it is faster (the description box is
  // laid out anew at every level page).
  f.setStyleStrategy(QFont::PreferNoShaping);
  setFont(f);
}

Application::~Application() = default;

bool Application::notify(QObject* receiver, QEvent* event) {
  if (QtBackend* backend = QtBackend::Current()) {
    backend->ShowHeld();
  } else {
    ShowHeldGridWrites();
  }
  ++deliveryDepth_;
  ++deliveries_;
  const bool result = QApplication::notify(receiver, event);
  if (event->type() == QEvent::DragEnter) {
    AnswerEnteringDrag(receiver, static_cast<QDragEnterEvent*>(event));
  }
  --deliveryDepth_;
  return result;
}

Application* Application::Instance() {
  return dynamic_cast<Application*>(QCoreApplication::instance());
}

// ---- Backend parts -----------------------------------------------------

namespace {
QtBackend* g_current = nullptr;
// How long the exit waits at most for the clipboard manager to save the
// clipboard (Qt waits as long when its application object ends).
constexpr int kClipboardHandOffMs = 5000;
}  // namespace

// Input to a window that a modal window blocks never reaches its widgets:
// the runtime would refuse it anyway, but a widget would first have changed
// itself (typed text, an opened list).
class QtBackend::InputFilter final : public QObject {
 public:
  explicit InputFilter(QtBackend& backend) : backend_(backend) {}
  bool eventFilter(QObject* target, QEvent* event) override {
    return backend_.FilterInput(target, event);
  }

 private:
  QtBackend& backend_;
};

class QtBackend::Waker final : public QObject {
 public:
  explicit Waker(QtBackend& backend) : backend_(backend) {}
  static constexpr QEvent::Type kWake = QEvent::User;
  bool event(QEvent* e) override {
    if (e->type() != kWake) return QObject::event(e);
    backend_.wakePending_.store(false);
    return true;
  }

 private:
  QtBackend& backend_;
};

QtBackend::QtBackend()
    : sound_(std::make_unique<platform::SoundPlayer>()),
      text_(std::make_unique<QtTextRasteriser>()),
      compositor_(std::make_unique<CompositorWatch>([this] {
        for (auto& [window, view] : windows_) view->FollowCompositor();
      })),
      filter_(std::make_unique<InputFilter>(*this)),
      waker_(std::make_unique<Waker>(*this)) {
  g_current = this;
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(filter_.get());
  fw::SetTextRasteriser(text_.get());
}

QtBackend::~QtBackend() {
  if (fw::CurrentTextRasteriser() == text_.get()) fw::SetTextRasteriser(nullptr);
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(filter_.get());
  std::vector<QPointer<QWidget>> all;
  for (auto& [unit, view] : units_) view->Kill();
  for (auto& [window, view] : windows_) {
    view->Kill();
    all.emplace_back(view);
  }
  for (auto& w : dead_) all.push_back(w);
  units_.clear();
  lastGrid_ = nullptr;
  lastGridView_ = nullptr;
  windows_.clear();
  dead_.clear();
  for (auto& w : all) delete w.data();
  if (g_current == this) g_current = nullptr;
}

QtBackend* QtBackend::Current() {
  return g_current;
}

ViewHost* ViewHost::Current() {
  return QtBackend::Current();
}

bool QtBackend::CompositorRuns() const {
  return compositor_->Runs();
}

void QtBackend::RecheckCompositor() {
  compositor_->Recheck();
}

namespace {

// A press or a key that the window system delivers to a top-level window
// shows that the window is on the screen. A window manager that does not
// iconify windows (or no window manager at all) leaves a window the
// program minimised where it was; the model then still counts it as
// minimised and would refuse every click in it, its close button
// included, for good.
void ShownWindowIsNotMinimised(QWidget* target, QEvent* event) {
  if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::KeyPress) return;
  auto* view = dynamic_cast<WindowView*>(target->window());
  if (view == nullptr || !view->Live() || !view->isVisible()) return;
  if (view->model().Minimised()) input::SetMinimised(view->model(), false);
}

}  // namespace

// The window that a modal window blocks never keeps the keyboard: a click
// on it (which the window manager answers by giving it the focus) or its
// activation by other means gives the focus back to the modal window and
// raises it, so that Enter, Escape and the window manager's close keep
// reaching the window that answers for it.
void QtBackend::FocusBlocker(const Window& blocked) {
  Window* modal = blocked.BlockedBy();
  WindowView* view = modal == nullptr ? nullptr : ViewOf(*modal);
  if (view == nullptr || !view->Live() || !view->isVisible()) return;
  view->raise();
  view->activateWindow();
  view->setFocus(Qt::ActiveWindowFocusReason);
}

bool QtBackend::FilterInput(QObject* target, QEvent* event) {
  if (event->type() == QEvent::WindowActivate) {
    auto* view = dynamic_cast<WindowView*>(target);
    if (view != nullptr && view->isWindow() && view->Live()) FocusBlocker(view->model());
    return false;
  }
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
      break;
    default:
      return false;
  }
  if (!target->isWidgetType()) return false;
  ShownWindowIsNotMinimised(static_cast<QWidget*>(target), event);
  for (QWidget* w = static_cast<QWidget*>(target); w != nullptr; w = w->parentWidget()) {
    auto* view = dynamic_cast<WindowView*>(w);
    if (view == nullptr) continue;
    if (!view->Live() || !view->model().Blocked()) return false;
    if (event->type() == QEvent::MouseButtonPress) FocusBlocker(view->model());
    return true;
  }
  return false;
}

// ---- Views ---------------------------------------------------------------

namespace {

// Builds the view of `unit` (and first that of its parent unit) in `window`.
UnitView* BuildUnit(QtBackend& backend, WindowView& window, Control& unit,
                    std::unordered_map<const Control*, UnitView*>& units) {
  if (auto it = units.find(&unit); it != units.end()) return it->second;
  QWidget* parent = &window;
  if (Control* p = unit.parent()) {
    if (UnitView* pv = BuildUnit(backend, window, *p, units)) {
      if (QWidget* c = pv->Container(unit.page())) parent = c;
    }
  }
  UnitView* view = CreateUnitView(backend, unit, parent);
  if (view == nullptr) return nullptr;
  units.emplace(&unit, view);
  view->RefreshAll();
  return view;
}

}  // namespace

bool QtBackend::CreateView(Window& window) {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return false;
  if (auto it = windows_.find(&window); it != windows_.end()) DestroyView(window);
  auto* view = new WindowView(*this, window);
  windows_.emplace(&window, view);
  std::vector<UnitView*> built;
  for (const UnitDef& def : window.definition().units) {
    Control* unit = window.Find(def.name);
    if (unit == nullptr) continue;
    if (UnitView* v = BuildUnit(*this, *view, *unit, units_)) built.push_back(v);
  }
  // Decorations lie below the units the user works with; each group keeps
  // the form's order (later units above earlier ones).
  for (UnitView* v : built) {
    if (IsDecoration(v->unit())) v->widget()->raise();
  }
  for (UnitView* v : built) {
    if (!IsDecoration(v->unit())) v->widget()->raise();
  }
  view->RefreshAll();
  return true;
}

void QtBackend::DestroyView(Window& window) {
  auto it = windows_.find(&window);
  if (it == windows_.end()) return;
  WindowView* view = it->second;
  windows_.erase(it);
  lastGrid_ = nullptr;
  lastGridView_ = nullptr;
  for (const UnitDef& def : window.definition().units) {
    Control* unit = window.Find(def.name);
    if (unit == nullptr) continue;
    if (auto u = units_.find(unit); u != units_.end()) {
      u->second->Kill();
      units_.erase(u);
    }
  }
  // Killed views are freed later: none stays among the held ones.
  std::erase_if(heldUnits_, [](const UnitView* v) { return !v->Live(); });
  view->Kill();
  // The window may be destroyed from inside one of its own widgets' event
  // handlers: its widgets are freed later, when no event delivery is on
  // the stack.
  dead_.emplace_back(view);
}

void QtBackend::FreeDeadViews() {
  if (dead_.empty()) return;
  Application* app = Application::Instance();
  if (app == nullptr || app->DeliveryDepth() != 0) return;
  std::vector<QPointer<QWidget>> dead;
  dead.swap(dead_);
  for (auto& w : dead) delete w.data();
}

namespace {

template <class Held>
void Hold(Held& held, const Window& window, Prop what) {
  auto [it, added] = held.props.try_emplace(&window, 0u);
  if (added) held.order.push_back(&window);
  it->second |= 1u << static_cast<unsigned>(what);
}

bool Has(std::uint32_t props, Prop p) {
  return (props & (1u << static_cast<unsigned>(p))) != 0;
}

// The order in which held changes are shown: a unit's lists before their
// selection, a text before the selection in it; a window is embedded and
// placed before it is shown.
constexpr Prop kUnitOrder[] = {Prop::Geometry, Prop::Font,    Prop::Colours,   Prop::Images,
                               Prop::Items,    Prop::Current, Prop::Cells,     Prop::Checked,
                               Prop::Text,     Prop::Format,  Prop::Selection, Prop::Disabled,
                               Prop::Visible};
constexpr Prop kWindowOrder[] = {Prop::Parent,  Prop::Geometry,  Prop::Images,    Prop::Text,
                                 Prop::Colours, Prop::Frame,     Prop::Minimised, Prop::Visible,
                                 Prop::ZOrder,  Prop::SystemMove};

// Refreshes `view` for each of `props`, those of `order` first in its
// order, any other after them.
template <class View, std::size_t N>
void ShowInOrder(View& view, std::uint32_t props, const Prop (&order)[N]) {
  // A text shown anew shows its character formats too.
  if (Has(props, Prop::Text)) props &= ~(1u << static_cast<unsigned>(Prop::Format));
  for (Prop p : order) {
    if (!Has(props, p)) continue;
    props &= ~(1u << static_cast<unsigned>(p));
    view.Refresh(p);
  }
  for (unsigned bit = 0; props != 0; ++bit, props >>= 1) {
    if ((props & 1u) != 0) view.Refresh(static_cast<Prop>(bit));
  }
}

}  // namespace

void QtBackend::Changed(Control& unit, Prop what) {
  auto it = units_.find(&unit);
  if (it == units_.end()) return;
  if (handlers_ > 0) {
    if (it->second->Hold(what)) heldUnits_.push_back(it->second);
  } else {
    it->second->Refresh(what);
  }
}

void QtBackend::HandlerStarts() {
  ++handlers_;
}

void QtBackend::HandlerEnds() {
  if (--handlers_ == 0) ShowHeld();
}

void QtBackend::ShowHeld() {
  ShowHeldGridWrites();
  if (heldUnits_.empty() && heldWindows_.order.empty()) return;
  // Taken out first: a view that Qt asks to show something may bring Qt to
  // deliver an event, and with it this call again.
  std::vector<UnitView*> units;
  units.swap(heldUnits_);
  HeldWindows windows = std::move(heldWindows_);
  heldWindows_ = {};
  for (UnitView* view : units) {
    // A view killed meanwhile (its window went while an earlier view was
    // shown) shows nothing; it is freed only when no delivery is running.
    if (!view->Live()) continue;
    ShowInOrder(*view, view->TakeHeld(), kUnitOrder);
  }
  for (const Window* window : windows.order) {
    auto view = windows_.find(window);
    if (view == windows_.end()) continue;
    ShowInOrder(*view->second, windows.props[window], kWindowOrder);
  }
}

void QtBackend::GridChanged(Grid& grid, const GridChange& change) {
  if (&grid != lastGrid_) {
    auto it = units_.find(&grid);
    if (it == units_.end()) return;
    lastGrid_ = &grid;
    lastGridView_ = it->second;
  }
  lastGridView_->RefreshGrid(change);
}

void QtBackend::WindowChanged(Window& window, Prop what) {
  auto it = windows_.find(&window);
  if (it == windows_.end()) return;
  if (handlers_ > 0) {
    Hold(heldWindows_, window, what);
  } else {
    it->second->Refresh(what);
  }
}

void QtBackend::OwnerBlocked(Window&, bool) {
  // The input filter asks the model whether a window is blocked; nothing
  // to show beyond that.
}

QWidget* QtBackend::WindowWidget(const Window& window) const {
  return ViewOf(window);
}

QWidget* QtBackend::UnitWidget(const Control& unit) const {
  UnitView* v = ViewOf(unit);
  return v == nullptr ? nullptr : v->widget();
}

UnitView* QtBackend::ViewOf(const Control& unit) const {
  auto it = units_.find(&unit);
  return it == units_.end() ? nullptr : it->second;
}

WindowView* QtBackend::ViewOf(const Window& window) const {
  auto it = windows_.find(&window);
  return it == windows_.end() ? nullptr : it->second;
}

QPixmap QtBackend::Picture(const Image& image) {
  if (image.Empty()) return {};
  if (auto it = pictures_.find(image.bytes.data()); it != pictures_.end()) return it->second;
  QPixmap pixmap;
  if (std::optional<platform::RgbaImage> rgba = platform::DecodeImage(image.bytes)) {
    QImage img(rgba->width, rgba->height, QImage::Format_RGBA8888);
    const auto row = static_cast<std::size_t>(rgba->width) * 4;
    for (int y = 0; y < rgba->height; ++y) {
      std::memcpy(img.scanLine(y), rgba->pixels.data() + row * static_cast<std::size_t>(y), row);
    }
    pixmap = QPixmap::fromImage(img);
  }
  pictures_.emplace(image.bytes.data(), pixmap);
  return pixmap;
}

int QtBackend::ScreenWidth() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s == nullptr ? 1920 : s->geometry().width();
}

int QtBackend::ScreenHeight() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s == nullptr ? 1080 : s->geometry().height();
}

// ---- Time and waiting ----------------------------------------------------

std::int64_t QtBackend::NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void QtBackend::PumpInput() {
  ShowHeld();
  FreeDeadViews();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtBackend::Wait(std::optional<std::int64_t> deadline) {
  ShowHeld();
  FreeDeadViews();
  // Each wait has its own timer, so that a wait nested inside a handler
  // (a modal load, a delay) never cancels the deadline of the wait around
  // it. Precise timers: a coarse one may fire up to 5 % early.
  QTimer timer;
  timer.setTimerType(Qt::PreciseTimer);
  timer.setSingleShot(true);
  if (deadline) {
    const std::int64_t left = *deadline - NowMs();
    if (left <= 0) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      return;
    }
    timer.start(static_cast<int>(std::min<std::int64_t>(left, INT_MAX)));
  }
  // Returns once something was delivered: input, the timer, a wake.
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtBackend::Wake() {
  if (wakePending_.exchange(true)) return;
  QCoreApplication::postEvent(waker_.get(), new QEvent(Waker::kWake));
}

// ---- Services ------------------------------------------------------------

void QtBackend::SetClipboardText(std::string_view gbk) {
  if (QClipboard* c = QGuiApplication::clipboard()) c->setText(FromGbk(gbk));
}

std::string QtBackend::ClipboardText() {
  QClipboard* c = QGuiApplication::clipboard();
  return c == nullptr ? std::string() : ToGbk(c->text());
}

bool QtBackend::PlaySound(std::span<const std::uint8_t> wave) {
  return sound_->Play(wave);
}

std::string QtBackend::ProgramFolder() {
  return platform::ExecutableFolder();
}

void QtBackend::ShowFatal(std::string_view gbk) {
  const QString message = FromGbk(gbk);
  std::fprintf(stderr, "%s\n", message.toUtf8().constData());
  std::fflush(stderr);
  // Without a screen (tests, offscreen runs) nobody could close the box.
  const QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return;
  QMessageBox box(QMessageBox::Critical, QStringLiteral(u"错误"), message, QMessageBox::Ok);
  box.exec();
}

void QtBackend::EndProcess(const ProgramEnded& how) {
  // What the user copied last must outlive the program.
  HandClipboardToManager(kClipboardHandOffMs);
  std::fflush(nullptr);
  std::_Exit(how.code);
}

// ---- Program -------------------------------------------------------------

int RunProgram(int argc, char** argv, int (*start)()) {
  Application app(argc, argv);
  QtBackend backend;
  Runtime runtime(backend);
  const int code = start();
  std::fflush(nullptr);
  return code;
}

}  // namespace fw::qt
