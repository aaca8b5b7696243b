// What the backend asks of the X server beyond what Qt offers: atoms,
// selection owners, and whether a compositing manager draws the screen.
// Off X11 (the offscreen platform of the tests, a Wayland plugin) there is
// no connection and these answer as documented.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>

#include <xcb/xcb.h>

#include <functional>

namespace fw::qt {

// Qt's own connection to the X server, or nullptr off X11.
xcb_connection_t* X11Connection();
xcb_atom_t InternAtom(xcb_connection_t* c, const char* name);
xcb_window_t SelectionOwner(xcb_connection_t* c, xcb_atom_t selection);

// Whether a compositing manager draws the screen, which then shows each
// window with its pixels' alpha; without one, the transparent parts of a
// window show black. On X11 the manager of screen n owns the selection
// _NET_WM_CM_Sn; Qt's connection hears when that owner changes (Qt asks
// the X server for those XFixes events itself), and `changed` runs, on the
// GUI thread, each time the manager starts or stops. Wayland always
// composites; the offscreen platform never does.
class CompositorWatch final : public QAbstractNativeEventFilter {
 public:
  explicit CompositorWatch(std::function<void()> changed);
  ~CompositorWatch() override;
  CompositorWatch(const CompositorWatch&) = delete;
  CompositorWatch& operator=(const CompositorWatch&) = delete;

  bool Runs() const { return runs_; }
  // Asks the X server again (one round trip); runs `changed` when the
  // answer differs.
  void Recheck();

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

 private:
  void Set(bool runs);

  std::function<void()> changed_;
  xcb_connection_t* c_ = nullptr;
  xcb_atom_t selection_ = XCB_ATOM_NONE;
  int selectionNotify_ = -1;  // the XFixes SelectionNotify event code
  bool runs_ = false;
};

}  // namespace fw::qt
