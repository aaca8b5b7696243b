// The runtime: registered forms, unit lookup, event dispatch, the message
// loop and its nested forms (modal loads, delays), the exit road, and the
// services the program reaches through the framework (clipboard, sound,
// program folder, posting from worker threads).
//
// One Runtime exists at a time; it is created over a backend (headless.h in
// tests, the Qt backend in the program) on the thread that becomes the GUI
// thread, and the free functions below act on it.
//
// Loops. Run, a modal Load, DelayWithMessages and ProcessPending all serve
// the same queue, in this order on each turn: work posted from other
// threads (FIFO), timers that are due (in due order), then the backend's
// pending user input. They differ only in when they return. Because they
// nest, a handler that waits must expect program-wide state to have
// changed when the wait returns.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "framework/form.h"
#include "framework/types.h"
#include "framework/unit.h"
#include "framework/units.h"

namespace fw {

class Backend;

// Details of the event being delivered, for the handlers that want them.
// Valid during the handler; outside any handler every field is default.
struct EventArgs {
  Event event = Event::Created;
  Control* unit = nullptr;  // nullptr for window events
  Window* window = nullptr;
  int x = 0;  // mouse events: position in the unit
  int y = 0;
  MouseButton button = MouseButton::Left;
  int row = -1;  // CellEvent
  int col = -1;
  CellAction cellAction = CellAction::Clicked;
  // SelectionChanged: the item that was current before the user's choice
  // (-1: none), so that a handler that turns the choice down can show it
  // again.
  int previousItem = -1;
  // TextChanged of a user's edit: characters of what the user typed or
  // pasted that GBK cannot hold reached the text as "?" (input.h).
  bool textReplaced = false;
};

class Runtime {
 public:
  // Installs this runtime as the current one on the calling thread, which
  // becomes the GUI thread. A second runtime while one exists is fatal.
  explicit Runtime(Backend& backend);
  ~Runtime();
  Runtime(const Runtime&) = delete;
  Runtime& operator=(const Runtime&) = delete;

  static Runtime& Current();  // fatal when there is none
  Backend& backend() const { return *backend_; }
  bool IsGuiThread() const;

  // Registers a form (validated, see ValidateForm; problems are fatal) and
  // builds its window and unit models, not loaded. Texts are converted to
  // GBK here. Returns the window, which lives as long as the runtime.
  Window& Register(const WindowDef& def);
  Window* FindWindow(std::string_view name) const;

  // How often the exit routine has run (0 or 1), for the headless backend.
  int ExitRoutineRuns() const;

 private:
  friend struct detail::Access;
  struct State;
  Backend* backend_;
  std::unique_ptr<State> state_;
};

// ---- Forms and lookup ------------------------------------------------------

inline Window& RegisterForm(const WindowDef& def) {
  return Runtime::Current().Register(def);
}

// The window or unit with this name; a missing name, or a unit of another
// kind than T, is a fatal error naming both (a programming error that the
// first test run finds).
Window& GetWindow(std::string_view window);
Control& GetControl(std::string_view window, std::string_view unit);
template <class T>
T& Get(std::string_view window, std::string_view unit);

// A cheap, copyable name of a unit that application code declares once,
// next to the form, and uses like a pointer:
//
//   namespace main_window {
//   inline constexpr fw::Ref<fw::Edit> 编辑框1{"MainWindow", "编辑框1"};
//   }
//   main_window::编辑框1->SetText(text);
//
// It holds only the two names and looks the unit up on every use (a hash
// lookup), so it never dangles, works across runtimes in tests, and may be
// a constexpr global. GUI thread only, like the models.
template <class T>
struct Ref {
  std::string_view window;
  std::string_view unit;
  T& get() const { return Get<T>(window, unit); }
  T* operator->() const { return &get(); }
  T& operator*() const { return get(); }
};

struct WindowRef {
  std::string_view name;
  Window& get() const { return GetWindow(name); }
  Window* operator->() const { return &get(); }
  Window& operator*() const { return get(); }
};

// ---- Loops -----------------------------------------------------------------

// The main message loop: serves events until the program ends through
// Exit. Closing windows, even the last one, does not end it.
void Run();
// Serves everything already due (posted work, due timers, pending input)
// and returns when nothing more is due; never waits. On a thread other
// than the GUI thread it does nothing.
void ProcessPending();
// Waits `amount` units (0 ms, 1 s, 2 min, 3 h; other units count as ms)
// while serving events, so handlers run nested inside it, including
// another delay (the inner one ends first). Never returns early: it ends
// at the first turn of the loop at or after its deadline, or when a nested
// handler returns, if that is later. An amount of 0 or less serves what is
// pending once and returns. On a thread other than the GUI thread it only
// sleeps. Always returns true.
bool DelayWithMessages(std::int64_t amount, int unit = 0);
// DelayWithMessages for `ms` milliseconds during which the user's input
// reaches no window: every window counts as blocked (Window::Blocked), so
// clicks, typing, drops and close requests are refused, while posted work,
// timers (animations) and worker threads carry on. For a pause in which
// the program shows the outcome of what the user just did. Nested holds
// end with the outermost. Always returns true.
bool DelayHoldingInput(std::int64_t ms);
// Whether a DelayHoldingInput is running.
bool InputHeld();

// ---- Exit and fatal errors -------------------------------------------------

// Registers the routine that Exit runs; the last registration wins.
void SetExitRoutine(void (*routine)());
// The one exit road. Runs the exit routine exactly once (a second Exit,
// also one from inside the routine, skips it), then tears down every window
// without raising events (timers stop, no Destroying), then ends the
// process with `code`. Never returns, from any depth of nesting: the
// program ends the process; the headless backend unwinds to the test
// (headless.h). GUI thread only.
[[noreturn]] void Exit(int code);
// The fatal-error report: shows `message` (GBK) and ends the process with
// code 1 without running the exit routine. Used for the failed start
// window and for out-of-range access of the 1-based arrays. From the GUI
// thread it unwinds like Exit in headless runs; from another thread it
// writes the message to stderr and aborts.
[[noreturn]] void Fatal(std::string_view message);
// Whether the exit road has started: Exit was called (its exit routine is
// running or done) or Fatal was.
bool Exiting();

// ---- Threads ---------------------------------------------------------------

// Thread-safe, never blocks: runs `work` on the GUI thread at the loop's
// next turn, in the order posted (one FIFO queue for all threads). Work
// posted after Exit has started is dropped.
void PostToGui(std::function<void()> work);
// The same, but the work runs only if `window` is still the same loaded
// instance (same Generation) that it was when posted; work for a window
// that is not loaded is dropped at once. A worker that belongs to a window
// uses this, so nothing it posts lands after that window was destroyed.
void PostToWindow(std::string_view window, std::function<void()> work);
bool OnGuiThread();

// ---- Services --------------------------------------------------------------

const EventArgs& CurrentEventArgs();
// The clipboard as plain text (GBK; the backend converts).
void SetClipboardText(std::string_view gbk);
std::string ClipboardText();
// Starts playing a RIFF WAVE held in memory once and returns at once; a
// sound still playing is replaced. The bytes must outlive the playback
// (embedded data does). Returns false when the bytes are not a playable
// wave or there is no audio; the program ignores it.
bool PlaySound(std::span<const std::uint8_t> wave);
// The program's own folder as the operating system names it (not GBK: see
// platform/files.h), without a trailing separator.
std::string ProgramFolder();
// The screen's size in pixels, for centring and placement.
int ScreenWidth();
int ScreenHeight();

// ---- Template definitions --------------------------------------------------

namespace detail {
[[noreturn]] void WrongKind(std::string_view window, std::string_view unit, Kind wanted);
template <class T>
constexpr Kind KindOf();
template <>
constexpr Kind KindOf<Label>() {
  return Kind::Label;
}
template <>
constexpr Kind KindOf<GroupBox>() {
  return Kind::GroupBox;
}
template <>
constexpr Kind KindOf<Edit>() {
  return Kind::Edit;
}
template <>
constexpr Kind KindOf<Button>() {
  return Kind::Button;
}
template <>
constexpr Kind KindOf<PictureButton>() {
  return Kind::PictureButton;
}
template <>
constexpr Kind KindOf<SuperButton>() {
  return Kind::SuperButton;
}
template <>
constexpr Kind KindOf<Radio>() {
  return Kind::Radio;
}
template <>
constexpr Kind KindOf<Combo>() {
  return Kind::Combo;
}
template <>
constexpr Kind KindOf<Tabs>() {
  return Kind::Tabs;
}
template <>
constexpr Kind KindOf<Timer>() {
  return Kind::Timer;
}
template <>
constexpr Kind KindOf<Grid>() {
  return Kind::Grid;
}
template <>
constexpr Kind KindOf<RichEdit>() {
  return Kind::RichEdit;
}
template <>
constexpr Kind KindOf<DropTarget>() {
  return Kind::DropTarget;
}
template <>
constexpr Kind KindOf<Picture>() {
  return Kind::Picture;
}
}  // namespace detail

template <class T>
T& Get(std::string_view window, std::string_view unit) {
  if constexpr (std::is_same_v<T, Control>) {
    return GetControl(window, unit);
  } else {
    Control& c = GetControl(window, unit);
    if (c.kind() != detail::KindOf<T>()) detail::WrongKind(window, unit, detail::KindOf<T>());
    return static_cast<T&>(c);
  }
}

}  // namespace fw
