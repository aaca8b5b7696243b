// The clipboard at the end of the program: a text the editor put on the
// clipboard must reach the desktop's clipboard manager before the process
// ends, or it is gone with the process. The test runs its own X server
// (Xvfb) and a small clipboard manager on it, and the real editor in a
// child process on that server.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/xcb.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "child_program.h"
#include "desktop_session.h"
#include "framework/runtime.h"
#include "gui_fixture.h"

namespace {

using namespace gui_test;

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = r != nullptr ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(r);
  return atom;
}

// The part of a clipboard manager that matters here: it owns
// CLIPBOARD_MANAGER and, asked to SAVE_TARGETS, copies the clipboard's text
// and then answers.
class ClipboardManager {
 public:
  explicit ClipboardManager(const std::string& display) {
    c_ = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(c_) != 0) return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    window_ = xcb_generate_id(c_);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    manager_ = Atom(c_, "CLIPBOARD_MANAGER");
    saveTargets_ = Atom(c_, "SAVE_TARGETS");
    clipboard_ = Atom(c_, "CLIPBOARD");
    utf8_ = Atom(c_, "UTF8_STRING");
    property_ = Atom(c_, "SAVED_TEXT");
    xcb_set_selection_owner(c_, window_, manager_, XCB_CURRENT_TIME);
    xcb_flush(c_);
    thread_ = std::thread([this] { Serve(); });
  }
  ~ClipboardManager() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    xcb_disconnect(c_);
  }
  bool Running() const { return thread_.joinable(); }
  std::string Saved() {
    std::lock_guard<std::mutex> lock(mutex_);
    return saved_;
  }

 private:
  void Serve() {
    xcb_selection_request_event_t pending{};
    bool saving = false;
    while (!stop_) {
      xcb_generic_event_t* e = xcb_poll_for_event(c_);
      if (e == nullptr) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        continue;
      }
      const int type = e->response_type & 0x7F;
      if (type == XCB_SELECTION_REQUEST) {
        const auto* request = reinterpret_cast<xcb_selection_request_event_t*>(e);
        if (request->selection == manager_ && request->target == saveTargets_ && !saving) {
          pending = *request;
          saving = true;
          xcb_convert_selection(c_, window_, clipboard_, utf8_, property_, XCB_CURRENT_TIME);
          xcb_flush(c_);
        }
      } else if (type == XCB_SELECTION_NOTIFY && saving) {
        const auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(e);
        if (notify->requestor == window_) {
          if (notify->property != XCB_ATOM_NONE) {
            xcb_get_property_reply_t* reply = xcb_get_property_reply(
                c_,
                xcb_get_property(c_, 1, window_, property_, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20),
                nullptr);
            if (reply != nullptr) {
              std::lock_guard<std::mutex> lock(mutex_);
              saved_.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                            static_cast<std::size_t>(xcb_get_property_value_length(reply)));
              std::free(reply);
            }
          }
          // Tell the program that its clipboard is saved.
          xcb_selection_notify_event_t answer{};
          answer.response_type = XCB_SELECTION_NOTIFY;
          answer.time = pending.time;
          answer.requestor = pending.requestor;
          answer.selection = pending.selection;
          answer.target = pending.target;
          answer.property = pending.property;
          xcb_send_event(c_, 0, pending.requestor, XCB_EVENT_MASK_NO_EVENT,
                         reinterpret_cast<const char*>(&answer));
          xcb_flush(c_);
          saving = false;
        }
      }
      std::free(e);
    }
  }

  xcb_connection_t* c_ = nullptr;
  xcb_window_t window_ = 0;
  xcb_atom_t manager_ = 0, saveTargets_ = 0, clipboard_ = 0, utf8_ = 0, property_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::string saved_;
};

TEST(ClipboardAtExit, TextCopiedJustBeforeTheEditorEndsStaysWithTheClipboardManager) {
  OwnXServer server;
  if (server.display().empty()) GTEST_SKIP() << "no Xvfb here";
  ClipboardManager manager(server.display());
  ASSERT_TRUE(manager.Running());

  // The editor runs in a forked child on the test's X server.
  GTEST_FLAG_SET(death_test_style, "fast");
  ::setenv("DISPLAY", server.display().c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  EXPECT_EXIT(RunEditor([] {
                fw::SetClipboardText(Gbk("[name]\r\n技能数据"));
                CloseTheEditor();
              }),
              ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(manager.Saved(), "[name]\r\n技能数据");
}

}  // namespace
