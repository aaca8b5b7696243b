// What the Qt widgets add to the read: the user's clicks that read a script,
// choose its dungeon data set and turn one page, on the Qt backend
// (offscreen) and headless, at 125, 500 and 2,000 values per level; and a
// page turn alone at 1,000 values per level, painting included. A grid
// write costs the cells it changes and a handler's writes reach the widgets
// once, when it returns.
//
// The painting that follows the clicks is not counted (the screen is
// painted once per turn of the loop, whatever the clicks changed). With
// "painted:1" the window is painted between two runs, as it is between two
// clicks of a user: the next run then starts with the caches that painting
// left behind; with "painted:0" it is not, as the headless runs are not.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>

#include <memory>
#include <string>

#include "app/globals.h"
#include "app/program.h"
#include "app/units.h"
#include "bench_scripts.h"
#include "framework/headless.h"
#include "framework/input.h"
#include "framework/qt/qt_backend.h"
#include "framework/runtime.h"
#include "qt_app.h"
#include "ratio_reporter.h"

namespace {

constexpr int kLevels = 5;

// The editor's main window over one of the two backends; Settle lets the
// backend show what changed (Qt: deliver the pending paints).
class Editor {
 public:
  explicit Editor(bool qt) : qt_(qt) {
    if (qt_) {
      bench::QtApp();
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

// A click of the user on a unit of the main window: the handler runs as
// the runtime runs it for a click.
void Click(std::string_view unit) {
  fw::input::Click(fw::GetControl("MainWindow", unit));
}

bool Shown(const benchmark::State& state) {
  return app::g_valuesPerLevel == state.range(1) && app::g_currentLevel == 2 &&
         app::main_window::数据表格->RowCount() == state.range(1) + 1;
}

void ReadChooseAndPage(benchmark::State& state, bool qt) {
  Editor editor(qt);
  app::main_window::编辑框1->SetText(Script(state));
  for (auto _ : state) {
    Click("读取按钮");
    Click("刷图单选框");
    Click("下一页按钮");
    state.PauseTiming();
    if (state.range(2) != 0) editor.Settle();
    if (!Shown(state)) state.SkipWithError("the level table was not shown");
    Click("读取按钮");  // release
    if (state.range(2) != 0) editor.Settle();
    state.ResumeTiming();
  }
}

void PageTurn(benchmark::State& state, bool qt) {
  Editor editor(qt);
  app::main_window::编辑框1->SetText(Script(state));
  Click("读取按钮");
  Click("刷图单选框");
  editor.Settle();
  bool forward = true;
  for (auto _ : state) {
    Click(forward ? "下一页按钮" : "上一页按钮");
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
  b->ArgNames({"sp", "values", "painted"});
  for (int sp : {1, 0}) {
    for (int values : {125, 500, 2000}) {
      for (int painted : {0, 1}) b->Args({sp, values, painted});
    }
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
