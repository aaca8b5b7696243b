// X11 services of the backend; see x11.h.
#include "framework/qt/x11.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace fw::qt {

xcb_connection_t* X11Connection() {
  if (qGuiApp == nullptr) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 == nullptr ? nullptr : x11->connection();
}

xcb_atom_t InternAtom(xcb_connection_t* c, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

xcb_window_t SelectionOwner(xcb_connection_t* c, xcb_atom_t selection) {
  xcb_get_selection_owner_reply_t* reply =
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
  const xcb_window_t owner = reply != nullptr ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
  std::free(reply);
  return owner;
}

namespace {

// The screen number that the display name chooses (":0.1" is screen 1).
int DefaultScreen() {
  char* host = nullptr;
  int display = 0;
  int screen = 0;
  const bool parsed = xcb_parse_display(nullptr, &host, &display, &screen) != 0;
  std::free(host);
  return parsed ? screen : 0;
}

// The first event code of the XFixes extension, or -1.
int XFixesFirstEvent(xcb_connection_t* c) {
  constexpr char kName[] = "XFIXES";
  xcb_query_extension_reply_t* reply =
      xcb_query_extension_reply(c, xcb_query_extension(c, sizeof kName - 1, kName), nullptr);
  const int first = reply != nullptr && reply->present != 0 ? reply->first_event : -1;
  std::free(reply);
  return first;
}

}  // namespace

CompositorWatch::CompositorWatch(std::function<void()> changed) : changed_(std::move(changed)) {
  if (qGuiApp != nullptr && QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
    runs_ = true;
    return;
  }
  c_ = X11Connection();
  if (c_ == nullptr) return;
  const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen());
  selection_ = InternAtom(c_, name.c_str());
  runs_ = selection_ != XCB_ATOM_NONE && SelectionOwner(c_, selection_) != XCB_WINDOW_NONE;
  selectionNotify_ = XFixesFirstEvent(c_);  // SelectionNotify is its event 0
  if (selectionNotify_ >= 0) QCoreApplication::instance()->installNativeEventFilter(this);
}

CompositorWatch::~CompositorWatch() {
  if (selectionNotify_ >= 0 && QCoreApplication::instance() != nullptr)
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

void CompositorWatch::Recheck() {
  if (c_ == nullptr || selection_ == XCB_ATOM_NONE) return;
  Set(SelectionOwner(c_, selection_) != XCB_WINDOW_NONE);
}

void CompositorWatch::Set(bool runs) {
  if (runs == runs_) return;
  runs_ = runs;
  if (changed_) changed_();
}

bool CompositorWatch::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
  if (type != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const std::uint8_t*>(message);
  if ((event[0] & 0x7F) != selectionNotify_) return false;
  // XFixes SelectionNotify: the new owner at byte 8, the selection at 12.
  std::uint32_t owner = 0;
  std::uint32_t selection = 0;
  std::memcpy(&owner, event + 8, sizeof owner);
  std::memcpy(&selection, event + 12, sizeof selection);
  if (selection == selection_) Set(owner != XCB_WINDOW_NONE);
  return false;
}

}  // namespace fw::qt
