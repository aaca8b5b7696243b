// Definitions for headless.h.
#include "framework/headless.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include "framework/input.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/sound.h"

namespace fw {

struct Headless::State {
  std::chrono::steady_clock::duration stallAfter = std::chrono::seconds(5);
  int screenWidth = 1920;
  int screenHeight = 1080;
  std::optional<std::string> programFolder;
  std::map<std::string, int, std::less<>> failLoads;
  std::map<std::string, int, std::less<>> loads;
  std::vector<std::string> log;
  std::vector<std::span<const std::uint8_t>> sounds;
  std::string clipboard;

  std::int64_t now = 0;

  struct Step {
    std::function<void()> run;
    std::int64_t afterMs = 0;
    std::optional<std::int64_t> due;  // set once the step before it has returned
  };
  std::deque<Step> steps;
  struct ModalStep {
    std::function<void()> run;
    Window* window;
    std::uint64_t generation;
  };
  std::deque<ModalStep> modalSteps;  // armed steps whose modal window is up
  std::map<std::string, std::deque<std::function<void()>>, std::less<>> arms;

  std::mutex wakeMutex;
  std::condition_variable wakeCv;
  bool woken = false;
  std::chrono::steady_clock::time_point lastActivity = std::chrono::steady_clock::now();

  void Touch() { lastActivity = std::chrono::steady_clock::now(); }
  bool TakeWake() {
    std::lock_guard<std::mutex> lock(wakeMutex);
    return std::exchange(woken, false);
  }
  // The step behind one that returned becomes due `afterMs` later.
  void StepReturned() {
    if (!steps.empty() && !steps.front().due) steps.front().due = now + steps.front().afterMs;
  }
};

Headless::Headless() : state_(std::make_unique<State>()) {
  runtime_ = std::make_unique<Runtime>(*this);
}

Headless::~Headless() {
  runtime_.reset();
}

// ---- Set-up -----------------------------------------------------------------

void Headless::SetScreenSize(int width, int height) {
  state_->screenWidth = width;
  state_->screenHeight = height;
}
void Headless::SetProgramFolder(std::string path) {
  state_->programFolder = std::move(path);
}
void Headless::FailNextLoad(std::string_view window) {
  ++state_->failLoads[std::string(window)];
}
void Headless::SetStallAfter(std::int64_t realMs) {
  state_->stallAfter = std::chrono::milliseconds(realMs);
}

// ---- Running ----------------------------------------------------------------

ProgramEnded Headless::Run(const std::function<int()>& body) {
  state_->Touch();
  try {
    ProgramEnded end;
    end.code = body();
    return end;
  } catch (const ProgramEnded& end) {
    return end;
  }
}

int Headless::ExitRoutineRuns() const {
  return runtime_->ExitRoutineRuns();
}

// ---- Scripted user ----------------------------------------------------------

void Headless::Then(std::function<void()> step, std::int64_t afterMs) {
  State& s = *state_;
  State::Step st{std::move(step), afterMs, std::nullopt};
  if (s.steps.empty()) st.due = s.now + afterMs;
  s.steps.push_back(std::move(st));
}

void Headless::OnNextModal(std::string_view window, std::function<void()> step) {
  state_->arms[std::string(window)].push_back(std::move(step));
}

std::size_t Headless::PendingSteps() const {
  std::size_t n = state_->steps.size() + state_->modalSteps.size();
  for (const auto& [name, arms] : state_->arms) n += arms.size();
  return n;
}

// ---- User actions by name ---------------------------------------------------

namespace {

Window* FindWindowOrSay(std::string_view window) {
  Window* w = Runtime::Current().FindWindow(window);
  if (w == nullptr)
    std::fprintf(stderr, "headless: no window \"%.*s\"\n", static_cast<int>(window.size()),
                 window.data());
  return w;
}

template <class T>
T* FindUnitOrSay(std::string_view window, std::string_view unit) {
  Window* w = FindWindowOrSay(window);
  if (w == nullptr) return nullptr;
  Control* c = w->Find(unit);
  if (c == nullptr) {
    std::fprintf(stderr, "headless: no unit \"%.*s\" in window \"%.*s\"\n",
                 static_cast<int>(unit.size()), unit.data(), static_cast<int>(window.size()),
                 window.data());
    return nullptr;
  }
  if constexpr (std::is_same_v<T, Control>) {
    return c;
  } else {
    if (c->kind() != detail::KindOf<T>()) {
      std::fprintf(stderr, "headless: unit \"%.*s\" of window \"%.*s\" is of another kind\n",
                   static_cast<int>(unit.size()), unit.data(), static_cast<int>(window.size()),
                   window.data());
      return nullptr;
    }
    return static_cast<T*>(c);
  }
}

}  // namespace

bool Headless::Click(std::string_view window, std::string_view unit) {
  Control* c = FindUnitOrSay<Control>(window, unit);
  return c != nullptr && input::Click(*c);
}
bool Headless::MouseDown(std::string_view window, std::string_view unit, MouseButton b, int x,
                         int y) {
  Edit* e = FindUnitOrSay<Edit>(window, unit);
  return e != nullptr && input::MouseDown(*e, b, x, y);
}
bool Headless::Type(std::string_view window, std::string_view unit, std::string_view gbk) {
  Edit* e = FindUnitOrSay<Edit>(window, unit);
  return e != nullptr && input::EditText(*e, gbk);
}
bool Headless::TypeUnicode(std::string_view window, std::string_view unit,
                           std::u16string_view text) {
  Edit* e = FindUnitOrSay<Edit>(window, unit);
  bool replaced = false;
  const std::string gbk = platform::Utf16ToGbk(text, &replaced);
  return e != nullptr && input::EditText(*e, gbk, replaced);
}
bool Headless::Choose(std::string_view window, std::string_view combo, int index) {
  Combo* c = FindUnitOrSay<Combo>(window, combo);
  return c != nullptr && input::ChooseItem(*c, index);
}
bool Headless::ChooseTab(std::string_view window, std::string_view tabs, int index) {
  Tabs* t = FindUnitOrSay<Tabs>(window, tabs);
  return t != nullptr && input::ChooseTab(*t, index);
}
bool Headless::ClickCell(std::string_view window, std::string_view grid, int row, int col) {
  Grid* g = FindUnitOrSay<Grid>(window, grid);
  return g != nullptr && input::ClickCell(*g, row, col);
}
bool Headless::EditCell(std::string_view window, std::string_view grid, int row, int col,
                        std::string_view gbk) {
  Grid* g = FindUnitOrSay<Grid>(window, grid);
  return g != nullptr && input::EditCell(*g, row, col, gbk);
}
bool Headless::ClickRichEdit(std::string_view window, std::string_view box, int pos) {
  RichEdit* r = FindUnitOrSay<RichEdit>(window, box);
  return r != nullptr && input::ClickRichEdit(*r, pos);
}
bool Headless::Drop(std::string_view window, std::string_view unit,
                    std::vector<std::string> paths) {
  Control* c = FindUnitOrSay<Control>(window, unit);
  return c != nullptr && input::DropFiles(*c, paths);
}
bool Headless::Close(std::string_view window) {
  Window* w = FindWindowOrSay(window);
  return w != nullptr && input::RequestClose(*w);
}
bool Headless::Drag(std::string_view window, int left, int top) {
  Window* w = FindWindowOrSay(window);
  return w != nullptr && input::MoveWindow(*w, left, top);
}

bool Headless::Place(std::string_view window, const Rect& geometry) {
  Window* w = FindWindowOrSay(window);
  return w != nullptr && input::PlaceWindow(*w, geometry);
}
bool Headless::PressKey(std::string_view window, input::Key key) {
  Window* w = FindWindowOrSay(window);
  return w != nullptr && input::PressKey(*w, key);
}
bool Headless::Raw(std::string_view window, const RawInput& input) {
  Window* w = FindWindowOrSay(window);
  return w != nullptr && input::RawWindowInput(*w, input);
}

void Headless::Advance(std::int64_t ms) {
  DelayWithMessages(ms);
}

// ---- Record -----------------------------------------------------------------

const std::vector<std::string>& Headless::Log() const {
  return state_->log;
}
void Headless::ClearLog() {
  state_->log.clear();
}
const std::vector<std::span<const std::uint8_t>>& Headless::Sounds() const {
  return state_->sounds;
}
int Headless::LoadCount(std::string_view window) const {
  auto it = state_->loads.find(window);
  return it == state_->loads.end() ? 0 : it->second;
}

// ---- Backend ----------------------------------------------------------------

bool Headless::CreateView(Window& window) {
  State& s = *state_;
  if (auto it = s.failLoads.find(window.name()); it != s.failLoads.end() && it->second > 0) {
    --it->second;
    return false;
  }
  ++s.loads[window.name()];
  std::string line = "load " + window.name();
  if (window.Modal()) line += " modal";
  if (window.Owner() != nullptr) line += " owner=" + window.Owner()->name();
  s.log.push_back(std::move(line));
  if (window.Modal()) {
    if (auto it = s.arms.find(window.name()); it != s.arms.end() && !it->second.empty()) {
      // The instance being built gets the next generation once the view stands.
      s.modalSteps.push_back({std::move(it->second.front()), &window, window.Generation() + 1});
      it->second.pop_front();
    }
  }
  return true;
}

void Headless::DestroyView(Window& window) {
  state_->log.push_back("destroy " + window.name());
}

void Headless::Changed(Control&, Prop) {}

void Headless::WindowChanged(Window& window, Prop what) {
  State& s = *state_;
  switch (what) {
    case Prop::Visible:
      s.log.push_back((window.Visible() ? "show " : "hide ") + window.name());
      break;
    case Prop::Minimised:
      s.log.push_back((window.Minimised() ? "minimise " : "restore ") + window.name());
      break;
    case Prop::Frame: {
      const Frame& f = window.LayeredFrame();
      s.log.push_back("present " + window.name() + " " + std::to_string(f.width) + "x" +
                      std::to_string(f.height));
      break;
    }
    case Prop::SystemMove:
      s.log.push_back("system move " + window.name());
      break;
    case Prop::Parent:
      if (const Window* parent = window.EmbeddedIn()) {
        s.log.push_back("embed " + window.name() + " in " + parent->name() + " at " +
                        std::to_string(window.Left()) + "," + std::to_string(window.Top()));
      }
      break;
    default:
      break;
  }
}

void Headless::OwnerBlocked(Window&, bool) {}
int Headless::ScreenWidth() {
  return state_->screenWidth;
}
int Headless::ScreenHeight() {
  return state_->screenHeight;
}
std::int64_t Headless::NowMs() {
  return state_->now;
}
void Headless::PumpInput() {}

void Headless::Wait(std::optional<std::int64_t> deadline) {
  State& s = *state_;
  // Work posted since the runtime looked at its queue is served first.
  if (s.TakeWake()) {
    s.Touch();
    return;
  }
  while (!s.modalSteps.empty()) {
    State::ModalStep step = std::move(s.modalSteps.front());
    s.modalSteps.pop_front();
    if (!step.window->IsLoaded() || step.window->Generation() != step.generation) continue;
    s.Touch();
    step.run();
    return;
  }
  std::optional<std::int64_t> stepDue;
  if (!s.steps.empty()) stepDue = s.steps.front().due;
  if (stepDue && *stepDue <= s.now) {
    std::function<void()> run = std::move(s.steps.front().run);
    s.steps.pop_front();
    s.Touch();
    run();
    s.StepReturned();
    return;
  }
  if (stepDue && (!deadline || *stepDue < *deadline)) {
    s.now = *stepDue;  // the next Wait performs the step
    return;
  }
  // Nothing scripted is due before the deadline, or nothing at all. A
  // program left running with nothing scripted (timers ticking, or no
  // deadline at all) stalls once 5 s of real time pass without a step or
  // a post.
  const auto idle = std::chrono::steady_clock::now() - s.lastActivity;
  if (deadline) {
    if (!stepDue && idle > s.stallAfter) Fatal("headless: stalled");
    if (*deadline > s.now) s.now = *deadline;
    if (!stepDue) std::this_thread::yield();  // let workers that are due to post run
    return;
  }
  std::unique_lock<std::mutex> lock(s.wakeMutex);
  if (s.wakeCv.wait_for(
          lock, s.stallAfter - std::min<std::chrono::steady_clock::duration>(idle, s.stallAfter),
          [&] { return s.woken; })) {
    s.woken = false;
    lock.unlock();
    s.Touch();
    return;
  }
  lock.unlock();
  Fatal("headless: stalled");
}

void Headless::Wake() {
  State& s = *state_;
  {
    std::lock_guard<std::mutex> lock(s.wakeMutex);
    s.woken = true;
  }
  s.wakeCv.notify_all();
}

void Headless::SetClipboardText(std::string_view gbk) {
  state_->clipboard.assign(gbk);
}
std::string Headless::ClipboardText() {
  return state_->clipboard;
}

bool Headless::PlaySound(std::span<const std::uint8_t> wave) {
  state_->sounds.push_back(wave);
  state_->log.push_back("sound " + std::to_string(wave.size()) + " bytes");
  return platform::Wave::Load(wave).has_value();
}

std::string Headless::ProgramFolder() {
  if (!state_->programFolder) state_->programFolder = platform::ExecutableFolder();
  return *state_->programFolder;
}

void Headless::ShowFatal(std::string_view gbk) {
  state_->log.push_back("fatal " + platform::GbkToUtf8(gbk));
}

void Headless::EndProcess(const ProgramEnded& how) {
  throw how;
}

}  // namespace fw
