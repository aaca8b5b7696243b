// Definitions for runtime.h: registration, lookup, dispatch, the loop, the
// exit road, posting from other threads and the services.
#include "framework/runtime.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <thread>

#include "framework/backend.h"
#include "framework/detail.h"
#include "platform/codepage.h"

namespace fw {

using detail::Access;

namespace {

// The current runtime. Posts from other threads hold the mutex while they
// use it, and the runtime clears it under the mutex before it goes away, so
// a post never meets a runtime that is being destroyed. The GUI thread,
// which creates and destroys the runtime, reads it without the mutex.
std::mutex g_currentMutex;
std::atomic<Runtime*> g_current{nullptr};

[[noreturn]] void Abort(std::string_view utf8) {
  std::fprintf(stderr, "fatal: %.*s\n", static_cast<int>(utf8.size()), utf8.data());
  std::fflush(stderr);
  std::abort();
}

std::string ToGbk(std::string_view utf8) {
  return platform::Utf8ToGbk(utf8);
}

// Removes every loaded window without events: embedded windows before the
// windows they are embedded in, so that no view outlives its parent's.
void TearDownAll(detail::RuntimeState& s) {
  s.ending = true;
  for (bool again = true; again;) {
    again = false;
    for (const auto& w : s.windows) {
      if (!w->IsLoaded()) continue;
      const bool hasChild = std::any_of(s.windows.begin(), s.windows.end(), [&](const auto& o) {
        return o->IsLoaded() && o->EmbeddedIn() == w.get();
      });
      if (hasChild) {
        again = true;
        continue;
      }
      detail::TearDown(*w);
    }
  }
  s.modalsWithOwner.clear();
}

bool TimerEligible(Window& w, Timer& t) {
  return w.IsLoaded() && Access::TimerPeriod(t) > 0 && !Access::TimerInTick(t) &&
         detail::HasHandler(w, &t, Event::Tick);
}

std::optional<std::int64_t> NextTimerDue(detail::RuntimeState& s) {
  std::optional<std::int64_t> next;
  auto consider = [&](std::int64_t due) {
    if (!next || due < *next) next = due;
  };
  for (const auto& w : s.windows) {
    if (!w->IsLoaded()) continue;
    for (Timer* t : Access::Of(*w).timers) {
      if (TimerEligible(*w, *t)) consider(Access::TimerDue(*t));
    }
    for (const auto& [id, t] : Access::Of(*w).programTimers) {
      if (!t.inTick) consider(t.due);
    }
  }
  return next;
}

bool QueueEmpty(detail::RuntimeState& s) {
  std::lock_guard<std::mutex> lock(s.queueMutex);
  return s.queue.empty();
}

// One turn of the loop: posted work (FIFO), due timers (in due order), then
// the backend's pending input. Timers count as due up to `cutoff` when
// given. Returns whether any posted work or tick was served.
bool Turn(Runtime& rt, std::optional<std::int64_t> cutoff) {
  detail::RuntimeState& s = Access::Of(rt);
  Backend& backend = rt.backend();
  bool served = false;

  // Items are taken one at a time: a nested loop started by one item serves
  // the items behind it, and the order stays the order of posting.
  std::size_t count = 0;
  {
    std::lock_guard<std::mutex> lock(s.queueMutex);
    count = s.queue.size();
  }
  for (std::size_t i = 0; i < count; ++i) {
    detail::RuntimeState::Item item;
    {
      std::lock_guard<std::mutex> lock(s.queueMutex);
      if (s.queue.empty()) break;
      item = std::move(s.queue.front());
      s.queue.pop_front();
    }
    if (s.exiting.load()) continue;
    if (item.window != nullptr && item.window->Generation() != item.generation) continue;
    served = true;
    item.work();
  }

  std::int64_t limit = backend.NowMs();
  if (cutoff) limit = std::min(limit, *cutoff);
  // Timer units and program timers (Window::StartTimer, by id) together,
  // in due order.
  struct Due {
    std::int64_t due;
    Window* window;
    Timer* timer;  // nullptr: the program timer `id`
    int id;
    std::uint64_t generation;
  };
  std::vector<Due> due;
  for (const auto& w : s.windows) {
    if (!w->IsLoaded()) continue;
    for (Timer* t : Access::Of(*w).timers) {
      if (TimerEligible(*w, *t) && Access::TimerDue(*t) <= limit)
        due.push_back({Access::TimerDue(*t), w.get(), t, 0, w->Generation()});
    }
    for (const auto& [id, t] : Access::Of(*w).programTimers) {
      if (!t.inTick && t.due <= limit)
        due.push_back({t.due, w.get(), nullptr, id, w->Generation()});
    }
  }
  std::stable_sort(due.begin(), due.end(),
                   [](const Due& a, const Due& b) { return a.due < b.due; });
  for (const Due& d : due) {
    // An earlier tick may have stopped, restarted or destroyed this one.
    if (d.window->Generation() != d.generation) continue;
    if (d.timer == nullptr) {
      auto& timers = Access::Of(*d.window).programTimers;
      auto it = timers.find(d.id);
      if (it == timers.end() || it->second.inTick || it->second.due > limit) continue;
      it->second.due = backend.NowMs() + it->second.period;
      it->second.inTick = true;
      const std::shared_ptr<std::function<void()>> tick = it->second.tick;
      // The tick may stop or restart its own timer, or destroy the window.
      struct Reset {
        Window& window;
        int id;
        std::uint64_t generation;
        std::shared_ptr<std::function<void()>> tick;
        ~Reset() {
          if (window.Generation() != generation) return;
          auto& all = Access::Of(window).programTimers;
          auto again = all.find(id);
          if (again != all.end() && again->second.tick == tick) again->second.inTick = false;
        }
      } reset{*d.window, d.id, d.generation, tick};
      served = true;
      (*tick)();
      continue;
    }
    if (!TimerEligible(*d.window, *d.timer) || Access::TimerDue(*d.timer) > limit) continue;
    Access::TimerDue(*d.timer) = backend.NowMs() + Access::TimerPeriod(*d.timer);
    bool& inTick = Access::TimerInTick(*d.timer);
    inTick = true;
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{inTick};
    served = true;
    detail::Raise(*d.window, d.timer, Event::Tick, {});
  }

  backend.PumpInput();
  return served;
}

}  // namespace

// ---- detail -----------------------------------------------------------------

namespace detail {

Runtime* CurrentOrNull() {
  return g_current.load();
}

void RequireGui() {
  Runtime* rt = CurrentOrNull();
  if (rt != nullptr && !rt->IsGuiThread())
    Abort("a window or unit was used outside the GUI thread");
}

Backend& CurrentBackend() {
  return Runtime::Current().backend();
}
std::int64_t Now() {
  return CurrentBackend().NowMs();
}

ArgsScope::ArgsScope(const EventArgs& args) {
  Runtime& rt = Runtime::Current();
  detail::RuntimeState& s = Access::Of(rt);
  saved_ = s.args;
  s.args = args;
  rt.backend().HandlerStarts();
}
ArgsScope::~ArgsScope() {
  if (Runtime* rt = CurrentOrNull()) {
    Access::Of(*rt).args = saved_;
    rt->backend().HandlerEnds();
  }
}

namespace {
const Binding* FindBinding(const Window& window, const Control* unit, Event event) {
  const detail::WindowState& ws = Access::Of(window);
  int index = -1;
  if (unit != nullptr) {
    auto it = ws.indexOf.find(unit);
    if (it == ws.indexOf.end()) return nullptr;
    index = it->second;
  }
  auto it = ws.bindings.find({index, event});
  return it == ws.bindings.end() ? nullptr : &it->second;
}
}  // namespace

bool HasHandler(const Window& window, const Control* unit, Event event) {
  return FindBinding(window, unit, event) != nullptr;
}

bool Raise(Window& window, Control* unit, Event event, EventArgs args) {
  RequireGui();
  if (!window.IsLoaded()) return false;
  const Binding* b = FindBinding(window, unit, event);
  if (b == nullptr || b->handler == nullptr) return false;
  const Handler handler = b->handler;
  args.event = event;
  args.unit = unit;
  args.window = &window;
  ArgsScope scope(args);
  handler();
  return true;
}

bool RaiseFiles(DropTarget& target, const std::string& paths) {
  RequireGui();
  Window& window = target.window();
  if (!window.IsLoaded()) return false;
  const Binding* b = FindBinding(window, &target, Event::FilesDropped);
  if (b == nullptr || b->filesHandler == nullptr) return false;
  const FilesHandler handler = b->filesHandler;
  EventArgs args;
  args.event = Event::FilesDropped;
  args.unit = &target;
  args.window = &window;
  ArgsScope scope(args);
  handler(paths);
  return true;
}

void Loop(const std::function<bool()>& done, std::optional<std::int64_t> deadline, bool mayWait) {
  Runtime& rt = Runtime::Current();
  detail::RuntimeState& s = Access::Of(rt);
  Backend& backend = rt.backend();
  if (done()) return;
  // After a wait the loop serves one more turn before it looks at `done`:
  // a delay ends at the first turn at or after its deadline, with what fell
  // due at the deadline served.
  for (;;) {
    const bool served = Turn(rt, std::nullopt);
    if (done()) return;
    if (!mayWait) {
      if (!served) return;
      continue;
    }
    if (!QueueEmpty(s)) continue;
    const std::int64_t now = backend.NowMs();
    std::optional<std::int64_t> until = deadline;
    if (const auto next = NextTimerDue(s); next && (!until || *next < *until)) until = next;
    if (until && *until <= now) continue;
    backend.Wait(until);
  }
}

void ModalStarted(Window& modal) {
  detail::RuntimeState& s = Access::Of(Access::RuntimeOf(modal));
  Window* owner = modal.Owner();
  const bool wasBlocked = std::any_of(s.modalsWithOwner.begin(), s.modalsWithOwner.end(),
                                      [&](Window* m) { return m->Owner() == owner; });
  s.modalsWithOwner.push_back(&modal);
  if (!wasBlocked) Access::RuntimeOf(modal).backend().OwnerBlocked(*owner, true);
}

void ModalEnded(Window& modal) {
  detail::RuntimeState& s = Access::Of(Access::RuntimeOf(modal));
  auto it = std::find(s.modalsWithOwner.begin(), s.modalsWithOwner.end(), &modal);
  if (it == s.modalsWithOwner.end()) return;
  s.modalsWithOwner.erase(it);
  Window* owner = modal.Owner();
  const bool stillBlocked = std::any_of(s.modalsWithOwner.begin(), s.modalsWithOwner.end(),
                                        [&](Window* m) { return m->Owner() == owner; });
  if (!stillBlocked && !s.ending && owner->IsLoaded())
    Access::RuntimeOf(modal).backend().OwnerBlocked(*owner, false);
}

[[noreturn]] void WrongKind(std::string_view window, std::string_view unit, Kind wanted) {
  Fatal(ToGbk("unit \"" + std::string(unit) + "\" of window \"" + std::string(window) +
              "\" is not a " + KindName(wanted)));
}

}  // namespace detail

// ---- Runtime ----------------------------------------------------------------

Runtime::Runtime(Backend& backend) : backend_(&backend), state_(std::make_unique<State>()) {
  state_->guiThread = std::this_thread::get_id();
  std::lock_guard<std::mutex> lock(g_currentMutex);
  if (g_current.load() != nullptr) Abort("a second framework runtime was created");
  g_current = this;
}

Runtime::~Runtime() {
  {
    std::lock_guard<std::mutex> lock(g_currentMutex);
    if (g_current.load() == this) g_current = nullptr;
  }
  TearDownAll(*state_);
}

Runtime& Runtime::Current() {
  Runtime* rt = detail::CurrentOrNull();
  if (rt == nullptr) Abort("the framework runtime does not exist");
  return *rt;
}

bool Runtime::IsGuiThread() const {
  return std::this_thread::get_id() == state_->guiThread;
}

int Runtime::ExitRoutineRuns() const {
  return state_->exitRoutineRuns;
}

Window& Runtime::Register(const WindowDef& def) {
  detail::RequireGui();
  State& s = *state_;
  if (std::vector<std::string> problems = ValidateForm(def); !problems.empty()) {
    std::string text;
    for (const std::string& p : problems) text += p + "\n";
    Fatal(ToGbk(text));
  }
  if (FindWindow(def.name) != nullptr)
    Fatal(ToGbk("form \"" + std::string(def.name) + "\" registered twice"));

  // The runtime keeps its own copy of the form: names as they are, texts in
  // GBK, so that nothing points into the caller's data.
  detail::FormStore& store = s.forms.emplace_back();
  WindowDef& copy = store.def;
  copy = def;
  copy.name = store.Keep(def.name);
  copy.caption = store.Keep(ToGbk(def.caption));
  copy.backImage.name = store.Keep(def.backImage.name);
  for (UnitDef& u : copy.units) {
    u.name = store.Keep(u.name);
    u.parent = store.Keep(u.parent);
    u.text = store.Keep(ToGbk(u.text));
    u.font.face = ToGbk(u.font.face);
    for (std::string_view& tab : u.tabs) tab = store.Keep(ToGbk(tab));
    for (Image* image : {&u.images.normal, &u.images.hot, &u.images.pressed, &u.images.disabled})
      image->name = store.Keep(image->name);
  }
  for (Binding& b : copy.bindings) {
    b.unit = store.Keep(b.unit);
    // A form that binds CloseRequested without the flag (the way forms said
    // it before the flag) is one the user may close, as it always was.
    if (b.unit.empty() && b.event == Event::CloseRequested) copy.flags.userMayClose = true;
  }
  for (std::string_view& u : copy.enterUnits) u = store.Keep(u);
  for (std::string_view& u : copy.escapeUnits) u = store.Keep(u);

  Window* window = Access::MakeWindow(*this, copy);
  s.windows.emplace_back(window);
  std::lock_guard<std::mutex> lock(s.windowsMutex);
  s.windowsByName.emplace(window->name(), window);
  return *window;
}

Window* Runtime::FindWindow(std::string_view name) const {
  std::lock_guard<std::mutex> lock(state_->windowsMutex);
  auto it = state_->windowsByName.find(name);
  return it == state_->windowsByName.end() ? nullptr : it->second;
}

// ---- Lookup -----------------------------------------------------------------

Window& GetWindow(std::string_view window) {
  Window* w = Runtime::Current().FindWindow(window);
  if (w == nullptr) Fatal(ToGbk("no window \"" + std::string(window) + "\""));
  return *w;
}

Control& GetControl(std::string_view window, std::string_view unit) {
  Control* c = GetWindow(window).Find(unit);
  if (c == nullptr)
    Fatal(ToGbk("no unit \"" + std::string(unit) + "\" in window \"" + std::string(window) + "\""));
  return *c;
}

// ---- Loops ------------------------------------------------------------------

void Run() {
  detail::RequireGui();
  detail::Loop([] { return false; }, std::nullopt, true);
}

void ProcessPending() {
  if (!OnGuiThread()) return;
  Runtime& rt = Runtime::Current();
  // Timers that fall due while this runs wait for the next wait: with a
  // real clock, a slow tick handler would otherwise keep this from ending.
  const std::int64_t cutoff = rt.backend().NowMs();
  while (Turn(rt, cutoff)) {
  }
}

bool DelayWithMessages(std::int64_t amount, int unit) {
  std::int64_t perUnit = 1;
  switch (unit) {
    case 1:
      perUnit = 1'000;
      break;
    case 2:
      perUnit = 60'000;
      break;
    case 3:
      perUnit = 3'600'000;
      break;
    default:
      break;
  }
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  // Nothing to wait for at or below zero; the multiplication must not
  // overflow either way.
  const std::int64_t ms = amount <= 0 ? 0 : amount > kMax / perUnit ? kMax : amount * perUnit;
  if (!OnGuiThread()) {
    // A worker has no loop to serve: it just waits.
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return true;
  }
  Runtime& rt = Runtime::Current();
  if (ms <= 0) {
    Turn(rt, std::nullopt);
    return true;
  }
  const std::int64_t now = rt.backend().NowMs();
  const std::int64_t deadline = ms > kMax - now ? kMax : now + ms;
  detail::Loop([&] { return rt.backend().NowMs() >= deadline; }, deadline, true);
  return true;
}

bool DelayHoldingInput(std::int64_t ms) {
  if (!OnGuiThread()) return DelayWithMessages(ms);
  detail::RuntimeState& s = Access::Of(Runtime::Current());
  // Released however the delay is left (the headless exit road unwinds).
  struct Hold {
    int& holds;
    explicit Hold(int& h) : holds(h) { ++holds; }
    ~Hold() { --holds; }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
  } hold(s.inputHolds);
  return DelayWithMessages(ms);
}

bool InputHeld() {
  Runtime* rt = detail::CurrentOrNull();
  return rt != nullptr && Access::Of(*rt).inputHolds > 0;
}

// ---- Exit and fatal errors --------------------------------------------------

void SetExitRoutine(void (*routine)()) {
  detail::RequireGui();
  Access::Of(Runtime::Current()).exitRoutine = routine;
}

void Exit(int code) {
  Runtime* rt = detail::CurrentOrNull();
  if (rt == nullptr) Abort("Exit without a framework runtime");
  if (!rt->IsGuiThread()) Abort("Exit called outside the GUI thread");
  detail::RuntimeState& s = Access::Of(*rt);
  s.exiting = true;
  if (!s.exitRoutineStarted) {
    s.exitRoutineStarted = true;
    if (s.exitRoutine != nullptr) {
      ++s.exitRoutineRuns;
      s.exitRoutine();
    }
  }
  TearDownAll(s);
  ProgramEnded how;
  how.code = code;
  rt->backend().EndProcess(how);
  std::abort();  // a backend whose EndProcess returns breaks the exit road
}

void Fatal(std::string_view message) {
  Runtime* rt = detail::CurrentOrNull();
  if (rt == nullptr || !rt->IsGuiThread()) Abort(platform::GbkToUtf8(message));
  detail::RuntimeState& s = Access::Of(*rt);
  s.exiting = true;
  rt->backend().ShowFatal(message);
  TearDownAll(s);
  ProgramEnded how;
  how.code = 1;
  how.fatal = true;
  how.fatalMessage.assign(message);
  rt->backend().EndProcess(how);
  std::abort();
}

bool Exiting() {
  Runtime* rt = detail::CurrentOrNull();
  return rt != nullptr && Access::Of(*rt).exiting.load();
}

// ---- Threads ----------------------------------------------------------------

namespace {
void Post(std::string_view windowName, bool guarded, std::function<void()>& work) {
  std::lock_guard<std::mutex> lock(g_currentMutex);
  Runtime* rt = g_current.load();
  if (rt == nullptr) return;
  detail::RuntimeState& s = Access::Of(*rt);
  if (s.exiting.load()) return;
  detail::RuntimeState::Item item;
  if (guarded) {
    item.window = rt->FindWindow(windowName);
    if (item.window == nullptr) return;
    item.generation = item.window->Generation();
    if (item.generation % 2 == 0) return;  // not loaded
  }
  item.work = std::move(work);
  {
    std::lock_guard<std::mutex> queueLock(s.queueMutex);
    s.queue.push_back(std::move(item));
  }
  rt->backend().Wake();
}
}  // namespace

// `work` is destroyed by the caller after the lock is released, so a
// closure whose destructor posts again cannot deadlock.
void PostToGui(std::function<void()> work) {
  Post({}, false, work);
}
void PostToWindow(std::string_view window, std::function<void()> work) {
  Post(window, true, work);
}

bool OnGuiThread() {
  Runtime* rt = detail::CurrentOrNull();
  return rt != nullptr && rt->IsGuiThread();
}

// ---- Services ---------------------------------------------------------------

const EventArgs& CurrentEventArgs() {
  static const EventArgs kNone;
  Runtime* rt = detail::CurrentOrNull();
  if (rt == nullptr || !rt->IsGuiThread()) return kNone;
  return Access::Of(*rt).args;
}

void SetClipboardText(std::string_view gbk) {
  detail::RequireGui();
  detail::CurrentBackend().SetClipboardText(gbk);
}
std::string ClipboardText() {
  detail::RequireGui();
  return detail::CurrentBackend().ClipboardText();
}
bool PlaySound(std::span<const std::uint8_t> wave) {
  detail::RequireGui();
  return detail::CurrentBackend().PlaySound(wave);
}
std::string ProgramFolder() {
  return detail::CurrentBackend().ProgramFolder();
}
int ScreenWidth() {
  return detail::CurrentBackend().ScreenWidth();
}
int ScreenHeight() {
  return detail::CurrentBackend().ScreenHeight();
}

}  // namespace fw
