// The hand-over of the clipboard to the X11 clipboard manager, as the
// freedesktop.org clipboard manager convention describes it: convert the
// CLIPBOARD_MANAGER selection to the target SAVE_TARGETS; the manager then
// asks the clipboard's owner (Qt, in this process) for the data and answers
// with a SelectionNotify once it has saved it.
#include "framework/qt/clipboard_handoff.h"

#include <QAbstractNativeEventFilter>
#include <QClipboard>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QThread>

#include <xcb/xcb.h>

#include "framework/qt/x11.h"

namespace fw::qt {

namespace {

// Sees the manager's answer among the events Qt reads from the X server.
class AnswerWatch final : public QAbstractNativeEventFilter {
 public:
  explicit AnswerWatch(xcb_window_t requestor) : requestor_(requestor) {}
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_SELECTION_NOTIFY) return false;
    if (reinterpret_cast<const xcb_selection_notify_event_t*>(event)->requestor != requestor_) {
      return false;
    }
    answered = true;
    return true;
  }
  bool answered = false;

 private:
  xcb_window_t requestor_;
};

}  // namespace

void HandClipboardToManager(int timeoutMs) {
  if (qGuiApp == nullptr) return;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr || !clipboard->ownsClipboard()) return;
  xcb_connection_t* c = X11Connection();
  if (c == nullptr) return;
  const xcb_atom_t manager = InternAtom(c, "CLIPBOARD_MANAGER");
  if (manager == XCB_ATOM_NONE || SelectionOwner(c, manager) == XCB_WINDOW_NONE) return;

  // A window of our own receives the answer.
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  if (screen == nullptr) return;
  const xcb_window_t requestor = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, requestor, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
  AnswerWatch watch(requestor);
  QCoreApplication::instance()->installNativeEventFilter(&watch);
  xcb_convert_selection(c, requestor, manager, InternAtom(c, "SAVE_TARGETS"),
                        InternAtom(c, "_SE_CLIPBOARD_SAVED"), XCB_CURRENT_TIME);
  xcb_flush(c);

  // Qt serves the manager's requests for the clipboard's data while its
  // events are processed; the program's own input waits.
  QElapsedTimer waited;
  waited.start();
  while (!watch.answered && waited.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!watch.answered) QThread::msleep(2);
  }
  QCoreApplication::instance()->removeNativeEventFilter(&watch);
  xcb_destroy_window(c, requestor);
  xcb_flush(c);
}

}  // namespace fw::qt
