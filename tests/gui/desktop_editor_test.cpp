// The editor on a desktop of the test's own (Xvfb with openbox), used by a
// hand that is not the editor: a thread of the editor's process that moves
// the pointer and presses keys with xdotool, as the user does, while the
// editor's loop runs freely, and a drag source in a process of its own.
// What only a real window manager and a real drag show: a drag that enters
// the editor anywhere and is released over the script box, the keyboard
// focus that the window manager moves to a window a prompt blocks, the
// X11 platform in a Wayland session.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QComboBox>
#include <QGuiApplication>
#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "app/main_window.h"
#include "child_program.h"
#include "desktop_session.h"
#include "framework/runtime.h"
#include "framework/units.h"
#include "gui_fixture.h"

extern char** environ;

namespace {

using namespace gui_test;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// ---- Processes the hand starts ---------------------------------------------

// Starts `argv` (searched on PATH) with the environment `env`; its
// standard output goes to `out` and its error output to `err` when given,
// else to /dev/null. posix_spawn, because the editor's process runs threads.
pid_t Spawn(const std::vector<std::string>& argv, int out = -1, char** env = environ,
            int err = -1) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (out >= 0) {
    posix_spawn_file_actions_adddup2(&actions, out, 1);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  }
  if (err >= 0) {
    posix_spawn_file_actions_adddup2(&actions, err, 2);
  } else {
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

std::string Num(int v) {
  return std::to_string(v);
}

void Pause(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// ---- The editor, with the hand on it -----------------------------------------

// Runs `f` on the editor's GUI thread (at its loop's next turn, also inside
// a modal loop) and returns what it returns.
template <class F>
auto OnGui(F f) -> decltype(f()) {
  std::promise<decltype(f())> result;
  fw::PostToGui([&] { result.set_value(f()); });
  return result.get_future().get();
}

// Whether `done` (run on the GUI thread) comes to hold within `ms` (long:
// a loaded machine may take its time, a passing run never waits it out).
bool WaitOnGui(const std::function<bool()>& done, int ms = 10000) {
  const auto end = Clock::now() + std::chrono::milliseconds(ms);
  while (!OnGui(done)) {
    if (Clock::now() > end) return false;
    Pause(10);
  }
  return true;
}

// Whether `done` comes to hold and then keeps holding for `steadyMs`: the
// window manager's focus changes arrive late, so a state that holds once
// may still be taken back by one on its way.
bool WaitOnGuiSteady(const std::function<bool()>& done, int steadyMs = 300) {
  const auto end = Clock::now() + std::chrono::milliseconds(10000);
  while (Clock::now() < end) {
    if (!WaitOnGui(done)) return false;
    const auto steadyUntil = Clock::now() + std::chrono::milliseconds(steadyMs);
    bool held = true;
    while (held && Clock::now() < steadyUntil) {
      Pause(10);
      held = OnGui(done);
    }
    if (held) return true;
  }
  return false;
}

std::string UnitText(const char* window, const char* unit) {
  return OnGui([=] { return fw::GetControl(window, unit).Text(); });
}

// Whether the editor's main window stands on the screen as a user finds
// it: mapped and drawn (exposed), with the focus the window manager gives a
// new window (GUI thread only).
bool TheEditorStandsOnTheDesktop() {
  QWidget* main = Win("MainWindow");
  QWindow* handle = main != nullptr ? main->windowHandle() : nullptr;
  return handle != nullptr && handle->isExposed() && QGuiApplication::focusWindow() == handle;
}

// Runs the editor in this (child) process with `hand` acting on it from a
// thread of its own, once the editor stands on the screen; once the hand is
// done the editor is closed as CloseTheEditor does (code 0 when every check
// held).
[[noreturn]] void RunEditorWithHand(std::function<void()> hand) {
  // A hand that waits for good ends the child, and the test fails.
  ::alarm(90);
  std::thread user;
  RunEditorFrom([&] {
    user = std::thread([&] {
      // The loop runs before the window manager has mapped the window; a
      // click sent then lands on the desktop below it, which a loaded
      // machine showed now and then.
      CHILD_CHECK(WaitOnGuiSteady(TheEditorStandsOnTheDesktop));
      hand();
      fw::PostToGui([&] {
        user.join();
        CloseTheEditor();
      });
    });
  });
}

// The desktop of each test: an X server with openbox; the editor runs on it
// in a forked child, on the X11 platform.
class Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    if (server_.display().empty()) GTEST_SKIP() << "no Xvfb here";
    ASSERT_TRUE(wm_.Running()) << "openbox did not start";
    ::setenv("DISPLAY", server_.display().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    GTEST_FLAG_SET(death_test_style, "fast");
  }

  OwnXServer server_{1366, 768};
  WindowManager wm_{server_.display()};
};

// ---- Drops from another program ------------------------------------------------

// The drag source program (drag_source.cpp) at `at`, offering `file`; what
// it tells, line by line.
class DragSource {
 public:
  DragSource(QPoint at, const fs::path& file) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = Spawn({SE_DRAG_SOURCE, Num(at.x()), Num(at.y()), file.string()}, fds[1]);
    ::close(fds[1]);
    out_ = fds[0];
  }
  ~DragSource() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) ::close(out_);
  }
  DragSource(const DragSource&) = delete;
  DragSource& operator=(const DragSource&) = delete;

  // The first line told from now on (within `ms`) that begins with `word`.
  std::optional<std::string> Next(const std::string& word, int ms = 5000) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      while (!lines_.empty()) {
        std::string line = lines_.front();
        lines_.erase(lines_.begin());
        Keep(line);
        if (line.rfind(word, 0) == 0) return line;
      }
      if (!Read(end)) return std::nullopt;
    }
  }

  // The action the drop target answers with the pointer at `p`: waits up
  // to three seconds for the source to tell `expected` there, then for
  // any later answer; -1 when the pointer was never told at `p`.
  int AnswerAt(QPoint p, int expected) {
    int answer = last_at_ == p ? last_action_ : -1;
    const auto end = Clock::now() + std::chrono::seconds(3);
    std::optional<Clock::time_point> settled;
    for (;;) {
      if (answer == expected && !settled) settled = Clock::now() + std::chrono::milliseconds(250);
      const auto until = settled ? *settled : end;
      if (!Read(until)) return answer;
      while (!lines_.empty()) {
        const std::string line = lines_.front();
        lines_.erase(lines_.begin());
        Keep(line);
        int action = 0, x = 0, y = 0;
        if (std::sscanf(line.c_str(), "action %d at %d %d", &action, &x, &y) != 3) continue;
        last_at_ = QPoint(x, y);
        last_action_ = action;
        if (last_at_ == p) answer = action;
      }
    }
  }

  // Everything it told, for a failure's message.
  const std::vector<std::string>& Told() const { return told_; }

 private:
  void Keep(const std::string& line) { told_.push_back(line); }
  // Reads what came until `until`; false when nothing came.
  bool Read(Clock::time_point until) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
    if (out_ < 0 || left.count() <= 0) return false;
    pollfd p{out_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
    char buffer[4096];
    const ssize_t n = ::read(out_, buffer, sizeof buffer);
    if (n <= 0) return false;
    pending_.append(buffer, static_cast<std::size_t>(n));
    for (std::size_t nl; (nl = pending_.find('\n')) != std::string::npos;) {
      lines_.push_back(pending_.substr(0, nl));
      pending_.erase(0, nl + 1);
    }
    return true;
  }

  pid_t pid_ = -1;
  int out_ = -1;
  std::string pending_;
  std::vector<std::string> lines_;
  std::vector<std::string> told_;
  QPoint last_at_{-1, -1};
  int last_action_ = -1;
};

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

constexpr int kNo = 0;    // Qt::IgnoreAction: the drop cursor says "no"
constexpr int kCopy = 1;  // Qt::CopyAction

// A point of a drag, relative to MainWindow's top-left corner (its form
// fixes where its units are), and what lies there.
struct Waypoint {
  const char* what;
  QPoint at;
  bool overTheScriptBox = false;
};
const Waypoint kDesktopLeft{"the desktop left of the editor", {-50, 520}};
const Waypoint kDesktopAbove{"the desktop above the editor", {-12, -45}};
const Waypoint kLeftBorder{"the left border (标签15)", {1, 520}};
const Waypoint kCaption{"the caption (标签14)", {100, 12}};
const Waypoint kCaptionRight{"the caption (标签14), right", {480, 12}};
const Waypoint kReadButton{"读取按钮", {49, 575}};
const Waypoint kSaveButton{"保存按钮", {287, 575}};
const Waypoint kLevelGrid{"数据表格", {416, 280}};
const Waypoint kScriptBox{"编辑框1", {165, 250}, true};

struct DropCase {
  const char* name;
  std::vector<Waypoint> path;  // the drag is released at the last point
  bool taken;
};

void PrintTo(const DropCase& c, std::ostream* os) {
  *os << c.name;
}

class DropFromAnotherProgram : public Desktop, public ::testing::WithParamInterface<DropCase> {};

// The hand drags `file` from the drag source along the case's path and
// releases it there.
void DragAlong(const DropCase& c, const fs::path& file, const std::string& original) {
  const std::string boxBefore = UnitText("MainWindow", "编辑框1");
  const std::string pathBefore = UnitText("MainWindow", "路径编辑框");
  const std::uint64_t prompts = OnGui([] { return fw::GetWindow("PromptWindow").Generation(); });
  const QRect main = OnGui([] { return Win("MainWindow")->geometry(); });

  DragSource source(QPoint(20, 20), file);
  const std::optional<std::string> ready = source.Next("ready");
  CHILD_CHECK(ready.has_value());
  if (!ready) return;
  int x = 0, y = 0, width = 0, height = 0;
  std::sscanf(ready->c_str(), "ready %d %d %d %d", &x, &y, &width, &height);
  const QRect at(x, y, width, height);
  CHILD_CHECK(!at.intersects(main));

  // The hand takes the file in the file manager's window.
  MoveTo(at.center().x(), at.center().y());
  LeftButton(true);
  CHILD_CHECK(source.Next("drag").has_value());

  std::vector<int> answers, expected;
  for (const Waypoint& w : c.path) {
    const QPoint p = main.topLeft() + w.at;
    // Drawn across in a few steps, as a hand moves.
    const QPoint from = OnGui([] { return QCursor::pos(); });
    for (int step = 1; step <= 4; ++step) {
      const QPoint on = from + (p - from) * step / 4;
      MoveTo(on.x(), on.y());
    }
    const int want = w.overTheScriptBox ? kCopy : kNo;
    expected.push_back(want);
    const int got = source.AnswerAt(p, want);
    answers.push_back(got);
    if (got != want) std::fprintf(stderr, "over %s: %d\n", w.what, got);
  }
  CHILD_CHECK(answers == expected);
  LeftButton(false);
  const std::optional<std::string> ended = source.Next("ended");
  CHILD_CHECK(ended == (c.taken ? "ended 1" : "ended 0"));
  if (answers != expected || !ended) {
    for (const std::string& line : source.Told())
      std::fprintf(stderr, "source: %s\n", line.c_str());
  }

  if (c.taken) {
    // The drop reads at once.
    CHILD_CHECK(WaitOnGui(
        [] { return fw::GetControl("MainWindow", "读取按钮").Text() == Gbk("释放数据"); }));
    CHILD_CHECK(UnitText("MainWindow", "路径编辑框") == Gbk(file.string()));
    CHILD_CHECK(UnitText("MainWindow", "技能名称标签") == Gbk("双牙连击"));
  } else {
    Pause(300);
    CHILD_CHECK(UnitText("MainWindow", "编辑框1") == boxBefore);
    CHILD_CHECK(UnitText("MainWindow", "路径编辑框") == pathBefore);
    CHILD_CHECK(UnitText("MainWindow", "读取按钮") == Gbk("读取数据"));
  }
  // No message of any kind.
  CHILD_CHECK(OnGui([] { return fw::GetWindow("PromptWindow").Generation(); }) == prompts);
  CHILD_CHECK(FileBytes(file) == original);
}

// A file manager's drag crosses the desktop and enters the editor wherever
// the hand brings it (its border, its caption, other controls): the drop
// cursor says "no" everywhere but over the script box, where it says
// "copy"; released there, the file is taken and read as a drop is;
// released over another control, nothing is taken. The file manager keeps
// its file.
TEST_P(DropFromAnotherProgram, IsTakenOverTheScriptBoxWhereverItEntered) {
  const DropCase& c = GetParam();
  const fs::path folder = fs::temp_directory_path() / ("se_drop_" + std::to_string(::getpid()));
  fs::create_directories(folder / "拖放的技能");
  const fs::path file = folder / "拖放的技能" / "twin_fang.skl";
  fs::copy_file(SE_SAMPLES_DIR "/skill/thief/twin_fang.skl", file,
                fs::copy_options::overwrite_existing);
  const std::string original = FileBytes(file);

  EXPECT_EXIT(RunEditorWithHand([&] { DragAlong(c, file, original); }),
              ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(FileBytes(file), original);
  fs::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DropFromAnotherProgram,
    ::testing::Values(DropCase{"EnteringAtTheBorderAcrossControlsAndTheCaptionToTheScriptBox",
                               {kDesktopLeft, kLeftBorder, kReadButton, kSaveButton, kLevelGrid,
                                kCaptionRight, kScriptBox},
                               true},
                      DropCase{"EnteringAtTheCaptionReleasedOverTheReadButton",
                               {kDesktopAbove, kCaption, kScriptBox, kReadButton},
                               false}),
    [](const ::testing::TestParamInfo<DropCase>& p) { return std::string(p.param.name); });

// ---- The keyboard in prompts -------------------------------------------------

// A left click at the centre of a unit's widget on the screen.
void ClickAtCentre(const char* window, const char* unit) {
  const QPoint centre = OnGui([=] {
    QWidget* w = W(window, unit);
    return w->mapToGlobal(w->rect().center());
  });
  ClickAt(centre.x(), centre.y());
}

// What the hand waits for, asked on the GUI thread (WaitOnGui).
bool PromptStandsOpen() {
  if (!fw::GetWindow("PromptWindow").IsLoaded()) return false;
  QWidget* box = Win("PromptWindow");
  return box != nullptr && box->isVisible() && box->width() == 320;
}
bool PromptGone() {
  return !fw::GetWindow("PromptWindow").IsLoaded();
}
bool PromptHasTheFocus() {
  QWidget* box = fw::GetWindow("PromptWindow").IsLoaded() ? Win("PromptWindow") : nullptr;
  return box != nullptr && QGuiApplication::focusWindow() == box->windowHandle();
}

// Counts the times a window becomes the active one (GUI thread only).
class Activations final : public QObject {
 public:
  explicit Activations(QWidget* window) : QObject(window) { window->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::WindowActivate) ++count;
    return false;
  }
};

struct KeyCase {
  const char* name;
  const char* opener;  // a button of MainWindow that opens another window first, or nullptr
  const char* opened;  // that window
  const char* keys;    // what the hand presses, as xdotool names it
};

void PrintTo(const KeyCase& c, std::ostream* os) {
  *os << c.name;
}

// The hand clicks the editor while a prompt stands open over it, then
// answers the prompt with the keyboard.
void ClickTheBlockedEditorThenAnswer(const KeyCase& c) {
  if (c.opener != nullptr) {
    ClickAtCentre("MainWindow", c.opener);
    const std::string opened = c.opened;
    CHILD_CHECK(WaitOnGui([&] { return fw::GetWindow(opened).IsLoaded(); }));
    Pause(300);
  }
  const std::string box = UnitText("MainWindow", "编辑框1");
  // The hint in the script box is no script: the read says so.
  ClickAtCentre("MainWindow", "读取按钮");
  CHILD_CHECK(WaitOnGui(PromptStandsOpen));
  CHILD_CHECK(WaitOnGui(PromptHasTheFocus));

  // A click on the blocked editor is refused, and the window manager gives
  // the editor the focus; the prompt takes it back.
  Activations* editor = OnGui([] { return new Activations(Win("MainWindow")); });
  ClickAtCentre("MainWindow", "清空按钮");
  CHILD_CHECK(WaitOnGui([&] { return editor->count > 0; }));
  CHILD_CHECK(WaitOnGuiSteady(PromptHasTheFocus));
  PressKeys(c.keys);
  const bool answered = WaitOnGui(PromptGone);
  CHILD_CHECK(answered);
  CHILD_CHECK(UnitText("MainWindow", "编辑框1") == box);
  if (!answered) ClickAtCentre("PromptWindow", "确定按钮2");
}

class PromptKeyboard : public Desktop, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(PromptKeyboard, AnswersAfterAClickOnTheBlockedEditor) {
  const KeyCase& c = GetParam();
  EXPECT_EXIT(RunEditorWithHand([&] { ClickTheBlockedEditorThenAnswer(c); }),
              ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PromptKeyboard,
    ::testing::Values(KeyCase{"Enter", nullptr, nullptr, "Return"},
                      KeyCase{"Escape", nullptr, nullptr, "Escape"},
                      // openbox closes the window that has the focus.
                      KeyCase{"TheWindowManagersClose", nullptr, nullptr, "alt+F4"},
                      KeyCase{"EnterWithTheHelpWindowOpen", "帮助按钮", "HelpWindow", "Return"},
                      KeyCase{"EnterWithTheSkillListOpen", "加载按钮", "SkillListWindow",
                              "Return"}),
    [](const ::testing::TestParamInfo<KeyCase>& p) { return std::string(p.param.name); });

// ---- Unsaved work in the script box -------------------------------------------

constexpr const char* kDiscardQuestion = "技能数据的修改尚未保存，确定放弃修改吗？";

// The hand clicks into the script box (a click takes the start hint away)
// and types `text` (ASCII) there.
void TypeIntoTheScriptBox(const std::string& text) {
  const std::string before = UnitText("MainWindow", "编辑框1");
  const bool hint = before == Gbk(std::string(app::kScriptBoxHint));
  const std::size_t typed = (hint ? 0 : before.size()) + text.size();
  ClickAtCentre("MainWindow", "编辑框1");
  Xdo({"type", text});
  CHILD_CHECK(
      WaitOnGui([&] { return fw::GetControl("MainWindow", "编辑框1").Text().size() == typed; }));
}

// The question about unsaved changes stands open; the hand answers Cancel.
void CancelTheQuestion() {
  CHILD_CHECK(
      WaitOnGui([] { return PromptStandsOpen() && W("PromptWindow", "取消按钮")->isVisible(); }));
  CHILD_CHECK(UnitText("PromptWindow", "第二行") == Gbk(kDiscardQuestion));
  ClickAtCentre("PromptWindow", "取消按钮");
  CHILD_CHECK(WaitOnGui(PromptGone));
}

// The window manager's close of the editor (openbox closes the window that
// has the focus) asks before typed work is lost; Cancel keeps the editor
// running with the box as it was.
TEST_F(Desktop, TheWindowManagersCloseAsksAndCancelKeepsTheEditor) {
  EXPECT_EXIT(RunEditorWithHand([] {
                TypeIntoTheScriptBox("[name]");
                PressKeys("alt+F4");
                CancelTheQuestion();
                Pause(300);
                CHILD_CHECK(OnGui([] { return Win("MainWindow")->isVisible(); }));
                CHILD_CHECK(UnitText("MainWindow", "编辑框1") == "[name]");
                // A close that ended the editor at once would end it with
                // code 0 too, before this line.
                std::fprintf(stderr, "the editor ran on\n");
              }),
              ::testing::ExitedWithCode(0), "the editor ran on");
}

// A skill picked from the list over typed work asks first; Cancel leaves
// the box and the path, and the list shows again the skill it showed.
TEST_F(Desktop, APickOverTypedWorkAsksAndCancelShowsTheListAsItWas) {
  DemoFolderBesideTheProgram();
  EXPECT_EXIT(RunEditorWithHand([] {
                ClickAtCentre("MainWindow", "加载按钮");
                CHILD_CHECK(WaitOnGui([] { return fw::GetWindow("SkillListWindow").IsLoaded(); }));
                Pause(300);
                ClickAtCentre("SkillListWindow", "加载技能按钮");
                CHILD_CHECK(WaitOnGui([] {
                  return fw::Get<fw::Combo>("SkillListWindow", "鬼剑士组合框").Count() > 2 &&
                         !fw::GetControl("SkillListWindow", "加载技能按钮").Disabled();
                }));
                // The first skill, picked with the popup's keys.
                ClickAtCentre("SkillListWindow", "鬼剑士组合框");
                Pause(300);
                PressKeys("Down");
                PressKeys("Return");
                CHILD_CHECK(WaitOnGui([] {
                  return fw::Get<fw::Combo>("SkillListWindow", "鬼剑士组合框").Current() == 1;
                }));
                const std::string path = UnitText("MainWindow", "路径编辑框");
                TypeIntoTheScriptBox("x");
                const std::string typed = UnitText("MainWindow", "编辑框1");

                ClickAtCentre("SkillListWindow", "鬼剑士组合框");
                Pause(300);
                PressKeys("Down");
                PressKeys("Return");
                CancelTheQuestion();
                CHILD_CHECK(UnitText("MainWindow", "编辑框1") == typed);
                CHILD_CHECK(UnitText("MainWindow", "路径编辑框") == path);
                CHILD_CHECK(OnGui([] {
                  return fw::Get<fw::Combo>("SkillListWindow", "鬼剑士组合框").Current() == 1 &&
                         W<QComboBox>("SkillListWindow", "鬼剑士组合框")->currentIndex() == 1;
                }));
              }),
              ::testing::ExitedWithCode(0), "");
}

// ---- Wayland sessions ---------------------------------------------------------

struct SessionCase {
  const char* name;
  const char* sessionType;     // XDG_SESSION_TYPE, or nullptr for none
  const char* waylandDisplay;  // WAYLAND_DISPLAY, or nullptr for none
};

void PrintTo(const SessionCase& c, std::ostream* os) {
  *os << c.name;
}

class WaylandSession : public ::testing::TestWithParam<SessionCase> {};

// In a Wayland session that has X11 beside it (XWayland), the program asks
// Qt for X11 first when the user chose no platform, and comes up there: its
// windows stand at the places it gives them. The compositor here is one
// that does not answer (no such socket), which would also bring Qt to X11
// in the end: what Qt was asked first tells the choice, as in a session
// whose compositor answers.
TEST_P(WaylandSession, TheProgramComesUpOnX11) {
  const SessionCase& c = GetParam();
  OwnXServer server;
  if (server.display().empty()) GTEST_SKIP() << "no Xvfb here";

  std::vector<std::string> vars;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string_view v(*e);
    if (v.starts_with("QT_QPA_PLATFORM=") || v.starts_with("DISPLAY=") ||
        v.starts_with("WAYLAND_DISPLAY=") || v.starts_with("XDG_SESSION_TYPE=") ||
        v.starts_with("QT_LOGGING_RULES="))
      continue;
    vars.emplace_back(v);
  }
  vars.push_back("DISPLAY=" + server.display());
  if (c.sessionType != nullptr) vars.push_back(std::string("XDG_SESSION_TYPE=") + c.sessionType);
  if (c.waylandDisplay != nullptr) {
    vars.push_back(std::string("WAYLAND_DISPLAY=") + c.waylandDisplay);
  }
  // Qt tells which platforms it tries.
  vars.push_back("QT_LOGGING_RULES=qt.qpa.plugin=true");
  std::vector<char*> env;
  for (std::string& v : vars) env.push_back(v.data());
  env.push_back(nullptr);

  const fs::path log = fs::temp_directory_path() / ("se_platform_" + std::to_string(::getpid()));
  const int logFd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(logFd, 0);
  pid_t program = Spawn({SE_EDITOR_PROGRAM}, -1, env.data(), logFd);
  ::close(logFd);
  ASSERT_GT(program, 0);
  bool shown = false;
  for (int i = 0; i < 200 && !shown; ++i) {
    int status = 0;
    if (::waitpid(program, &status, WNOHANG) == program) {
      program = -1;
      break;
    }
    shown = Xdotool(server.display(), {"search", "--onlyvisible", "--name", "Varnok"}) == 0;
    if (!shown) Pause(50);
  }
  StopProcess(program);
  const std::string told = FileBytes(log);
  fs::remove(log);
  EXPECT_TRUE(shown) << "no window of the program on X11\n" << told;
  EXPECT_NE(told.find("init_platform called with pluginNamesWithArguments \"xcb"),
            std::string::npos)
      << told;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WaylandSession,
    ::testing::Values(SessionCase{"SessionTypeAndDisplay", "wayland", "wayland-no-such-socket"},
                      SessionCase{"SessionTypeOnly", "wayland", nullptr},
                      SessionCase{"DisplayOnly", nullptr, "wayland-no-such-socket"}),
    [](const ::testing::TestParamInfo<SessionCase>& p) { return std::string(p.param.name); });

}  // namespace
