// A desktop of the test's own: an X server (Xvfb) on a display number it
// picks itself, optionally with a window manager (openbox) and a
// compositing manager (xcompmgr) on it, and the user's hands on it through
// xdotool. For the tests that offscreen rendering cannot answer: focus that
// a window manager moves, drags that cross windows, a compositor's alpha.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

namespace gui_test {

// Starts `argv` with DISPLAY set to `display` (when not empty), standard
// output and error to /dev/null; -1 when it could not be started.
inline pid_t StartProcess(const std::vector<std::string>& argv, const std::string& display) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (!display.empty()) ::setenv("DISPLAY", display.c_str(), 1);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    std::_Exit(127);
  }
  return pid;
}

inline void StopProcess(pid_t& pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  ::waitpid(pid, nullptr, 0);
  pid = -1;
}

// An X server of the test's own, `width` x `height` pixels at 24 bits.
class OwnXServer {
 public:
  explicit OwnXServer(int width = 1024, int height = 768) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(null, 2);
      // The composite extension is on, so that a compositing manager can run.
      // No reset when the last client leaves: the checks that the window
      // manager is up connect and leave, and a program started during the
      // reset could not open the display.
      ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
               "+extension", "Composite", "-nolisten", "tcp", "-noreset",
               static_cast<char*>(nullptr));
      std::_Exit(127);
    }
    ::close(fds[1]);
    if (pid < 0) {
      ::close(fds[0]);
      return;
    }
    pid_ = pid;
    char buffer[32] = {};
    std::size_t got = 0;
    while (got < sizeof buffer - 1) {
      const ssize_t n = ::read(fds[0], buffer + got, sizeof buffer - 1 - got);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
      if (std::strchr(buffer, '\n') != nullptr) break;
    }
    ::close(fds[0]);
    if (got > 0) display_ = ":" + std::string(buffer, std::strcspn(buffer, "\n"));
  }
  ~OwnXServer() { StopProcess(pid_); }
  OwnXServer(const OwnXServer&) = delete;
  OwnXServer& operator=(const OwnXServer&) = delete;

  const std::string& display() const { return display_; }  // empty: no server

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// Whether some client owns the selection `name` on the display, or (for an
// empty name) whether a window manager says it runs (_NET_SUPPORTING_WM_CHECK
// on the root window).
inline bool DisplayHas(const std::string& display, const char* selection) {
  xcb_connection_t* c = xcb_connect(display.c_str(), nullptr);
  bool has = false;
  if (xcb_connection_has_error(c) == 0) {
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const char* name = selection != nullptr ? selection : "_NET_SUPPORTING_WM_CHECK";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    if (atom != nullptr) {
      if (selection != nullptr) {
        xcb_get_selection_owner_reply_t* owner =
            xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
        has = owner != nullptr && owner->owner != XCB_WINDOW_NONE;
        std::free(owner);
      } else {
        xcb_get_property_reply_t* prop = xcb_get_property_reply(
            c, xcb_get_property(c, 0, screen->root, atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
        has = prop != nullptr && xcb_get_property_value_length(prop) > 0;
        std::free(prop);
      }
      std::free(atom);
    }
  }
  xcb_disconnect(c);
  return has;
}

// A program that serves the display (a window manager, a compositor) for
// as long as this object lives; Running() once `ready` said it is up,
// within five seconds.
class DesktopProgram {
 public:
  DesktopProgram(const std::string& display, std::initializer_list<std::string> argv,
                 const char* readySelection) {
    if (display.empty()) return;
    pid_ = StartProcess(argv, display);
    if (pid_ <= 0) return;
    for (int i = 0; i < 500; ++i) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return;
      }
      if (DisplayHas(display, readySelection)) {
        running_ = true;
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~DesktopProgram() { StopProcess(pid_); }
  DesktopProgram(const DesktopProgram&) = delete;
  DesktopProgram& operator=(const DesktopProgram&) = delete;

  bool Running() const { return running_; }

 private:
  pid_t pid_ = -1;
  bool running_ = false;
};

// openbox, click to focus as it comes.
class WindowManager : public DesktopProgram {
 public:
  explicit WindowManager(const std::string& display)
      : DesktopProgram(display, {"openbox", "--sm-disable"}, nullptr) {}
};

// xcompmgr: windows drawn with their alpha over what lies below them.
class Compositor : public DesktopProgram {
 public:
  explicit Compositor(const std::string& display)
      : DesktopProgram(display, {"xcompmgr"}, "_NET_WM_CM_S0") {}
};

// Runs xdotool with `args` on `display` and waits for it; its exit code.
inline int Xdotool(const std::string& display, std::initializer_list<std::string> args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args);
  pid_t pid = StartProcess(argv, display);
  if (pid <= 0) return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// ---- The user's hands on the X server of this process (DISPLAY) ----------
// Each runs xdotool and waits for it; whether it succeeded. posix_spawn, not
// fork, because the process that calls them runs threads (Qt's).
inline bool Xdo(std::initializer_list<std::string> args) {
  std::vector<std::string> argv{"xdotool"};
  argv.insert(argv.end(), args);
  std::vector<char*> raw;
  for (const std::string& a : argv) raw.push_back(const_cast<char*>(a.c_str()));
  raw.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawnp(&pid, raw[0], &actions, nullptr, raw.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  if (pid <= 0) return false;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
// The pointer moves to (x, y) on the screen; returns once it is there.
inline bool MoveTo(int x, int y) {
  return Xdo({"mousemove", "--sync", std::to_string(x), std::to_string(y)});
}
// A left click at (x, y).
inline bool ClickAt(int x, int y) {
  return Xdo({"mousemove", "--sync", std::to_string(x), std::to_string(y), "click", "1"});
}
// The left button pressed or released where the pointer is.
inline bool LeftButton(bool down) {
  return Xdo({down ? "mousedown" : "mouseup", "1"});
}
// Keys pressed and released, as xdotool names them ("Return", "alt+F4").
inline bool PressKeys(const std::string& keys) {
  return Xdo({"key", keys});
}

}  // namespace gui_test
