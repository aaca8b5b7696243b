// Internal to the framework's own sources: the private state of windows and
// the runtime, and the runtime services the models call (event dispatch,
// thread checks, the clock). Application code and the backends use the
// public headers only.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/backend.h"
#include "framework/form.h"
#include "framework/runtime.h"
#include "framework/unit.h"
#include "framework/units.h"

namespace fw {

namespace detail {

// Heterogeneous lookup of std::string keys by std::string_view.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
template <class V>
using NameMap = std::unordered_map<std::string, V, NameHash, std::equal_to<>>;

// A registered form: the definition with every text converted to GBK and
// every name copied, so that nothing points into the caller's data.
struct FormStore {
  WindowDef def;
  std::deque<std::string> strings;  // a deque never moves its elements
  std::string_view Keep(std::string_view s) { return strings.emplace_back(s); }
};

// Saves the event details of the handler that is running and restores them
// when the nested handler returns (also when it unwinds); tells the backend
// that a handler runs and when it has returned.
class ArgsScope {
 public:
  explicit ArgsScope(const EventArgs& args);
  ~ArgsScope();
  ArgsScope(const ArgsScope&) = delete;
  ArgsScope& operator=(const ArgsScope&) = delete;

 private:
  EventArgs saved_;
};

std::string KindName(Kind k);  // "grid", "radio box" ...

// Fatal when a runtime exists and the caller is not its GUI thread.
void RequireGui();
// The current runtime or nullptr; any thread.
Runtime* CurrentOrNull();
// The backend of the current runtime (GUI thread).
Backend& CurrentBackend();
std::int64_t Now();

// Runs the handler bound to (unit, event) of `window` with `args`, if the
// window is loaded and a handler is bound. `unit` nullptr: a window event.
// Returns whether a handler ran.
bool Raise(Window& window, Control* unit, Event event, EventArgs args);
bool HasHandler(const Window& window, const Control* unit, Event event);
// FilesDropped of a drop target, with the paths as one text.
bool RaiseFiles(DropTarget& target, const std::string& paths);

// The loop routine shared by Run, modal loads, delays and ProcessPending:
// serves turns until `done` holds; waits between turns (up to `deadline`
// when given) only when `mayWait`.
void Loop(const std::function<bool()>& done, std::optional<std::int64_t> deadline, bool mayWait);

// Removes a loaded window without raising anything: stops its timers,
// unblocks its owner, removes the view, clears its units.
void TearDown(Window& window);

// A modal window with an owner was loaded or destroyed.
void ModalStarted(Window& modal);
void ModalEnded(Window& modal);

struct Access {
  using WindowState = Window::State;
  using RuntimeState = Runtime::State;
  static Window::State& Of(Window& w) { return *w.state_; }
  static const Window::State& Of(const Window& w) { return *w.state_; }
  static Runtime::State& Of(Runtime& r) { return *r.state_; }
  static const UnitDef& Def(const Control& c) { return *c.def_; }
  static Runtime& RuntimeOf(const Window& w) { return *w.runtime_; }
  static Timer& AsTimer(Control& c) { return static_cast<Timer&>(c); }
  static int& TextChangedDepth(Edit& e) { return e.textChangedDepth_; }
  static std::string& TextOf(Control& c) { return c.text_; }
  static const std::string& TextOf(const Control& c) { return c.text_; }
  static bool ReplaceByUser(Edit& e, std::size_t offset, std::size_t removed, std::string_view gbk,
                            bool replaced) {
    return e.ReplaceByUser(offset, removed, gbk, replaced);
  }
  static void WriteByUser(Edit& e, std::string_view gbk, bool replaced) { e.Write(gbk, replaced); }
  static int& TimerPeriod(Timer& t) { return t.period_; }
  static std::int64_t& TimerDue(Timer& t) { return t.due_; }
  static bool& TimerInTick(Timer& t) { return t.inTick_; }
  static void SetParent(Control& c, Control* parent) { c.parent_ = parent; }
  static Window* MakeWindow(Runtime& r, const WindowDef& def) { return new Window(r, def); }
};

using WindowState = Access::WindowState;
using RuntimeState = Access::RuntimeState;

}  // namespace detail

struct Window::State {
  std::vector<std::unique_ptr<Control>> units;  // in form order
  detail::NameMap<Control*> byName;
  std::vector<Timer*> timers;
  // (index of the unit in `units`, or -1 for the window) + event -> binding.
  std::map<std::pair<int, Event>, Binding> bindings;
  std::unordered_map<const Control*, int> indexOf;

  bool loaded = false;
  std::atomic<std::uint64_t> generation{0};
  Rect rect;
  bool visible = false;
  std::string caption;
  Colour backColour = kDefaultColour;
  Image backImage;
  bool minimised = false;
  Window* embeddedIn = nullptr;
  Window* owner = nullptr;
  bool modal = false;
  bool destroying = false;  // Destroy is running (Destroying handler)
  int movedDepth = 0;       // Moved handlers running
  bool layered = false;     // per-pixel alpha, showing `frame`
  Frame frame;
  PropertyBag properties;
  // Program timers (Window::StartTimer) by id.
  struct ProgramTimer {
    int period = 0;
    std::int64_t due = 0;
    bool inTick = false;
    std::shared_ptr<std::function<void()>> tick;  // kept alive while it runs
  };
  std::map<int, ProgramTimer> programTimers;
  RawInputHook rawInput;
  UnitChangeHook unitChange;
};

struct Runtime::State {
  std::thread::id guiThread;
  std::deque<detail::FormStore> forms;
  std::vector<std::unique_ptr<Window>> windows;  // registration order
  detail::NameMap<Window*> windowsByName;
  mutable std::mutex windowsMutex;  // guards windowsByName for other threads

  struct Item {
    std::function<void()> work;
    Window* window = nullptr;  // PostToWindow: run only in this generation
    std::uint64_t generation = 0;
  };
  std::mutex queueMutex;
  std::deque<Item> queue;

  std::atomic<bool> exiting{false};  // the exit road has started
  bool ending = false;               // views are being torn down
  void (*exitRoutine)() = nullptr;
  bool exitRoutineStarted = false;
  int exitRoutineRuns = 0;

  EventArgs args;                        // of the handler running now
  std::vector<Window*> modalsWithOwner;  // loaded, in load order
  int inputHolds = 0;                    // DelayHoldingInput calls running
};

}  // namespace fw
