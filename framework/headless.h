// The headless backend: no screen, a virtual clock, a scripted user and a
// record of what was shown. Tests create one Headless per test; it owns the
// runtime, so the framework's free functions work as soon as it exists and
// the test's thread is the GUI thread.
//
//   fw::Headless h;
//   app::RegisterForms();
//   h.Then([&] { EXPECT_EQ(main_window::读取按钮->Text(), Gbk("读取数据"));
//                h.Click("MainWindow", "关闭按钮"); });
//   fw::ProgramEnded end = h.Run(&app::ProgramStart);
//   EXPECT_EQ(end.code, 0);
//
// Time: NowMs() starts at 0 and moves only when a loop waits: Wait(deadline)
// first performs the next scripted step that is due, otherwise moves the
// clock to the earliest of the deadline and the next step's time. Timers
// and delays therefore take no real time and are exact.
//
// Scripted steps run only when a loop waits (Run, a modal load, a delay),
// never inside ProcessPending, in the order added. A loop that waits with
// nothing scripted, no deadline and no posted work for 5 seconds of real
// time (workers may still post) ends the run as a fatal error "headless:
// stalled", so a test that forgot to close the program fails instead of
// hanging.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/backend.h"
#include "framework/input.h"
#include "framework/runtime.h"

namespace fw {

class Headless final : public Backend {
 public:
  Headless();
  ~Headless() override;

  // ---- Set-up ----
  void SetScreenSize(int width, int height);   // default 1920 x 1080
  void SetProgramFolder(std::string path);     // default: the executable's folder
  void FailNextLoad(std::string_view window);  // its next Load fails (view not built)
  // Real time without a step or a post after which a waiting loop with
  // nothing scripted ends the run as "headless: stalled" (default 5000 ms).
  void SetStallAfter(std::int64_t realMs);

  // ---- Running ----
  // Runs `body` (typically the program's start routine) and returns how the
  // program ended: through Exit (code, exit routine run) or Fatal. If
  // `body` returns normally, the result has code = its return value.
  ProgramEnded Run(const std::function<int()>& body);
  // Whether the exit road was taken, and how often the exit routine ran.
  int ExitRoutineRuns() const;

  // ---- Scripted user ----
  // Adds a step that runs when a loop next waits, `afterMs` virtual
  // milliseconds after the previous step has returned (or after now, when
  // no step is queued). So queued steps run one after the other: a step
  // that opens a modal window or waits in a delay is not interrupted by the
  // steps behind it (answer modal windows with OnNextModal), while a step
  // added by a running step to an empty queue runs inside it.
  void Then(std::function<void()> step, std::int64_t afterMs = 0);
  // Arms `step` for the next modal load of `window`: it runs as a step of
  // the modal loop as soon as the window is loaded and the loop waits.
  // Several arms for the same window are used in order.
  void OnNextModal(std::string_view window, std::function<void()> step);
  std::size_t PendingSteps() const;

  // User actions by name (see input.h; false when refused). They may be
  // called from steps or directly from the test body.
  bool Click(std::string_view window, std::string_view unit);
  bool MouseDown(std::string_view window, std::string_view unit, MouseButton b, int x = 1,
                 int y = 1);
  bool Type(std::string_view window, std::string_view unit, std::string_view gbk);
  // The user types or pastes `text`, the whole new text, as a screen holds
  // it (UTF-16): it reaches the model as GBK the way a backend makes it,
  // characters GBK cannot hold written as "?" and TextChanged told so.
  bool TypeUnicode(std::string_view window, std::string_view unit, std::u16string_view text);
  bool Choose(std::string_view window, std::string_view combo, int index);
  bool ChooseTab(std::string_view window, std::string_view tabs, int index);
  bool ClickCell(std::string_view window, std::string_view grid, int row, int col);
  bool EditCell(std::string_view window, std::string_view grid, int row, int col,
                std::string_view gbk);
  bool ClickRichEdit(std::string_view window, std::string_view box, int pos);
  bool Drop(std::string_view window, std::string_view unit, std::vector<std::string> paths);
  bool Close(std::string_view window);
  bool Drag(std::string_view window, int left, int top);
  // The window system moved or resized the window (input::PlaceWindow).
  bool Place(std::string_view window, const Rect& geometry);
  bool PressKey(std::string_view window, input::Key key);
  // Raw mouse or keyboard input of a layered window (input::RawWindowInput).
  bool Raw(std::string_view window, const RawInput& input);

  // Lets virtual time pass while serving events (DelayWithMessages).
  void Advance(std::int64_t ms);

  // ---- Record ----
  // One line per event of the views, in order, UTF-8 for reading in test
  // output: "load PromptWindow modal owner=MainWindow", "show PromptWindow",
  // "destroy PromptWindow", "embed SkillParamWindow in MainWindow at 627,125",
  // "minimise MainWindow", "sound 11712 bytes", "fatal ...",
  // "present W 345x337" for a frame shown by a layered window, "system move
  // W" when the user is let drag a window. Also "hide W"
  // when the program hides a loaded window and "restore W" when a minimised
  // one is restored; failed loads (FailNextLoad) are not logged.
  const std::vector<std::string>& Log() const;
  void ClearLog();
  // The waves played (as given), in order.
  const std::vector<std::span<const std::uint8_t>>& Sounds() const;
  // Loads of `window` so far (modal or not).
  int LoadCount(std::string_view window) const;

  // ---- Backend ----
  bool CreateView(Window& window) override;
  void DestroyView(Window& window) override;
  void Changed(Control& unit, Prop what) override;
  void WindowChanged(Window& window, Prop what) override;
  void OwnerBlocked(Window& owner, bool blocked) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  std::int64_t NowMs() override;
  void PumpInput() override;
  void Wait(std::optional<std::int64_t> deadline) override;
  void Wake() override;
  void SetClipboardText(std::string_view gbk) override;
  std::string ClipboardText() override;
  bool PlaySound(std::span<const std::uint8_t> wave) override;
  std::string ProgramFolder() override;
  void ShowFatal(std::string_view gbk) override;
  // Throws ProgramEnded; Run catches it.
  [[noreturn]] void EndProcess(const ProgramEnded& how) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
  std::unique_ptr<Runtime> runtime_;
};

}  // namespace fw
