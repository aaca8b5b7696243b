// Start-up: the time from the start of the editor's process to the first
// frame of its main editor, on the Qt backend (offscreen). Each run starts
// this program anew as the editor: the same start routine over the same
// libraries, with a watch for MainWindow's first paint that reports the
// clock (CLOCK_MONOTONIC, shared by all processes) through a pipe and ends
// the process. The target is under 300 ms.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "app/program.h"
#include "framework/qt/qt_backend.h"
#include "framework/runtime.h"

extern char** environ;

namespace {

constexpr const char* kEditorArgument = "--as-editor";

std::int64_t NowNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// ---- The editor's side --------------------------------------------------

int g_reportFd = -1;

void Report() {
  const std::int64_t now = NowNs();
  if (::write(g_reportFd, &now, sizeof now) != static_cast<ssize_t>(sizeof now)) std::_Exit(2);
  std::_Exit(0);
}

// Sees MainWindow's first paint; once the loop has finished the paint
// (every child of the window included), the frame stands.
class FirstFrame final : public QObject {
 public:
  bool eventFilter(QObject* target, QEvent* event) override {
    if (seen_ || event->type() != QEvent::Paint || !target->isWidgetType()) return false;
    fw::qt::QtBackend* backend = fw::qt::QtBackend::Current();
    fw::Window* main = fw::Runtime::Current().FindWindow("MainWindow");
    if (backend == nullptr || main == nullptr || !main->IsLoaded()) return false;
    if (static_cast<QWidget*>(target) != backend->WindowWidget(*main)) return false;
    seen_ = true;
    QTimer::singleShot(0, &Report);
    return false;
  }

 private:
  bool seen_ = false;
};

int StartWatchingTheFirstFrame() {
  static FirstFrame watch;
  QCoreApplication::instance()->installEventFilter(&watch);
  return app::ProgramStart();
}

// ---- The benchmark's side ------------------------------------------------

std::string g_self;

// Starts the editor, waits for its first frame; the time in seconds, or a
// negative number when it did not report.
double StartToFirstFrame() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return -1;
  const std::string fd = std::to_string(fds[1]);
  char* argv[] = {g_self.data(), const_cast<char*>(kEditorArgument), const_cast<char*>(fd.c_str()),
                  nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], fds[1]);  // keeps it open across exec
  // Qt's notes on the environment would fill the report; a start that
  // fails shows as a run without a figure.
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const std::int64_t start = NowNs();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, g_self.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  std::int64_t frame = 0;
  const bool reported =
      spawned == 0 && ::read(fds[0], &frame, sizeof frame) == static_cast<ssize_t>(sizeof frame);
  ::close(fds[0]);
  int status = 0;
  if (spawned == 0) ::waitpid(pid, &status, 0);
  if (!reported) return -1;
  return static_cast<double>(frame - start) / 1e9;
}

void BM_ProcessStartToFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    const double seconds = StartToFirstFrame();
    if (seconds < 0) {
      state.SkipWithError("the editor did not show its first frame");
      return;
    }
    state.SetIterationTime(seconds);
  }
}
BENCHMARK(BM_ProcessStartToFirstFrame)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  if (argc == 3 && std::strcmp(argv[1], kEditorArgument) == 0) {
    g_reportFd = std::atoi(argv[2]);
    char* editorArgv[] = {argv[0], nullptr};
    return fw::qt::RunProgram(1, editorArgv, &StartWatchingTheFirstFrame);
  }
  g_self = "/proc/self/exe";
  char path[4096];
  const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (n > 0) g_self.assign(path, static_cast<std::size_t>(n));
  benchmark::Initialize(&argc, argv);
  std::printf("Start-up of the editor, offscreen; the target is under 300 ms (median).\n");
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
