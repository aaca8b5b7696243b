// What the Qt widgets add to the read: the read of a script, the choice of
// its dungeon data set and one page turn, on the Qt backend (offscreen,
// painting included) and headless, at 125, 500 and 2,000 values per level;
// and a page turn alone at 1,000 values per level. A grid write costs the
// cells it changes, so the Qt figures stay within a small factor of the
// headless ones at every size.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/read_type.h"
#include "app/units.h"
#include "bench_scripts.h"
#include "framework/headless.h"
#include "framework/qt/qt_backend.h"
#include "framework/runtime.h"
#include "ratio_reporter.h"

namespace {

constexpr int kLevels = 5;

fw::qt::Application& App() {
  static fw::qt::Application* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    static int argc = 1;
    static char name[] = "view_bench";
    static char* argv[] = {name, nullptr};
    return new fw::qt::Application(argc, argv);
  }();
  return *app;
}

// The editor's main window over one of the two backends; Settle lets the
// backend show what changed (Qt: deliver the pending paints).
class Editor {
 public:
  explicit Editor(bool qt) : qt_(qt) {
    if (qt_) {
      App();
      qtBackend_ = std::make_unique<fw::qt::QtBackend>();
      runtime_ = std::make_unique<fw::Runtime>(*qtBackend_);
    } else {
      headless_ = std::make_unique<fw::Headless>();
    }
    app::RegisterForms();
    app::InitProgramGlobals();
    app::main_window::window->Load();
    Settle();
  }
  ~Editor() {
    app::main_window::window->Destroy();
    app::FreeProgramGlobals();
  }
  Editor(const Editor&) = delete;
  Editor& operator=(const Editor&) = delete;

  void Settle() const {
    if (qt_) QCoreApplication::processEvents();
  }

 private:
  bool qt_;
  std::unique_ptr<fw::Headless> headless_;
  std::unique_ptr<fw::qt::QtBackend> qtBackend_;
  std::unique_ptr<fw::Runtime> runtime_;
};

std::string Script(benchmark::State& state) {
  bench::Shape shape;
  shape.sp = state.range(0) != 0;
  shape.valuesPerLevel = static_cast<int>(state.range(1));
  return bench::MakeScript(shape, kLevels);
}

bool Shown(const benchmark::State& state) {
  return app::g_valuesPerLevel == state.range(1) && app::g_currentLevel == 2 &&
         app::main_window::数据表格->RowCount() == state.range(1) + 1;
}

void ReadChooseAndPage(benchmark::State& state, bool qt) {
  Editor editor(qt);
  app::main_window::编辑框1->SetText(Script(state));
  for (auto _ : state) {
    app::OnReadButtonClicked();
    app::OnDungeonRadioClicked();
    app::OnNextPageButtonClicked();
    state.PauseTiming();
    editor.Settle();
    if (!Shown(state)) state.SkipWithError("the level table was not shown");
    app::ReleaseSkillData();
    editor.Settle();
    state.ResumeTiming();
  }
}

void PageTurn(benchmark::State& state, bool qt) {
  Editor editor(qt);
  app::main_window::编辑框1->SetText(Script(state));
  app::OnReadButtonClicked();
  app::OnDungeonRadioClicked();
  editor.Settle();
  bool forward = true;
  for (auto _ : state) {
    forward ? app::OnNextPageButtonClicked() : app::OnPrevPageButtonClicked();
    editor.Settle();
    forward = !forward;
  }
  if (app::main_window::数据表格->RowCount() != state.range(1) + 1) {
    state.SkipWithError("the level table was not shown");
  }
}

void BM_HeadlessReadChoosePage(benchmark::State& state) {
  ReadChooseAndPage(state, false);
}
void BM_QtReadChoosePage(benchmark::State& state) {
  ReadChooseAndPage(state, true);
}
void BM_HeadlessPageTurn(benchmark::State& state) {
  PageTurn(state, false);
}
void BM_QtPageTurn(benchmark::State& state) {
  PageTurn(state, true);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"sp", "values"});
  for (int sp : {1, 0}) {
    for (int values : {125, 500, 2000}) b->Args({sp, values});
  }
  b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}
void PageSizes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"sp", "values"});
  for (int sp : {1, 0}) b->Args({sp, 1000});
  b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_HeadlessReadChoosePage)->Apply(Sizes);
BENCHMARK(BM_QtReadChoosePage)->Apply(Sizes);
BENCHMARK(BM_HeadlessPageTurn)->Apply(PageSizes);
BENCHMARK(BM_QtPageTurn)->Apply(PageSizes);

}  // namespace

int main(int argc, char** argv) {
  return bench::RunWithRatios(
      argc, argv, "Qt backend against headless (medians):", [](const std::string& name) {
        return bench::Swap(name, "BM_Qt", "BM_Headless");
      });
}
