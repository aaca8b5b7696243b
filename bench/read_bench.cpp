// The read of a script and the choice of a data set, headless: every data
// set (dungeon, arena, common), both forms, scripts of about 100 KB (the
// largest file a drop accepts) and 200 KB, 20 and 500 values per level. In
// the same run a floor: one pass that finds every line of the same text with
// memchr. Each figure is the median of several repetitions and is printed
// again as a ratio to its floor, which is linear in the script's size: a
// ratio that stays flat from 100 KB to 200 KB is a linear read.
//
// Also the blank-line removal on the text that froze it once: long runs of
// white-space lines ending in a bare LF.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "app/editor_state.h"
#include "app/globals.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/units.h"
#include "bench_scripts.h"
#include "engine/text.h"
#include "framework/headless.h"
#include "ratio_reporter.h"

namespace {

enum DataSet { kDungeon, kArena, kCommon };

// Arguments: data set, SP (1) or PT (0), kilobytes, values per level.
std::string Script(const benchmark::State& state) {
  bench::Shape shape;
  shape.sp = state.range(1) != 0;
  shape.valuesPerLevel = static_cast<int>(state.range(3));
  shape.sets =
      state.range(0) == kCommon ? bench::DataSets::Common : bench::DataSets::DungeonAndArena;
  return bench::MakeScriptOfSize(shape, static_cast<std::size_t>(state.range(2)) * 1024);
}

void Choose(DataSet set) {
  switch (set) {
    case kDungeon:
      app::OnDungeonRadioClicked();
      break;
    case kArena:
      app::OnPkRadioClicked();
      break;
    case kCommon:
      app::OnCommonRadioClicked();
      break;
  }
}

void BM_ReadAndChoose(benchmark::State& state) {
  fw::Headless headless;
  app::RegisterForms();
  app::InitProgramGlobals();
  app::main_window::window->Load();
  const std::string script = Script(state);
  const auto set = static_cast<DataSet>(state.range(0));
  app::main_window::编辑框1->SetText(script);
  for (auto _ : state) {
    app::OnReadButtonClicked();
    Choose(set);
    state.PauseTiming();
    if (app::g_valuesPerLevel != state.range(3) || app::g_levelCount < 1) {
      state.SkipWithError("the level table was not loaded");
    }
    app::ReleaseSkillData();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(script.size()));
  app::main_window::window->Destroy();
  app::FreeProgramGlobals();
}

// One pass over the same text that finds every line with memchr.
void BM_Floor(benchmark::State& state) {
  const std::string script = Script(state);
  for (auto _ : state) {
    std::size_t lines = 0;
    const char* p = script.data();
    const char* end = p + script.size();
    while ((p = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr) {
      ++lines;
      ++p;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(script.size()));
}

void Shapes(benchmark::internal::Benchmark* b) {
  b->ArgNames({"set", "sp", "kb", "values"});
  for (int set : {kDungeon, kArena, kCommon}) {
    for (int sp : {1, 0}) {
      for (int kb : {100, 200}) {
        for (int values : {20, 500}) b->Args({set, sp, kb, values});
      }
    }
  }
  b->Unit(benchmark::kMicrosecond)->Repetitions(7)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_Floor)->Apply(Shapes);
BENCHMARK(BM_ReadAndChoose)->Apply(Shapes);

// Lines of spaces and TABs ending in a bare LF, as a text from a Linux
// editor pasted into a script: `kb` kilobytes of them, and CR LF lines
// after them (the pattern then tried every LF of the run up to its end).
void BM_TrimBlankLinesOfBareLineFeeds(benchmark::State& state) {
  std::string blank;
  while (blank.size() < static_cast<std::size_t>(state.range(0)) * 1024) blank += "  \t \n";
  const std::string text = "[@02]1\r\n" + blank + "[@02]2\r\n\r\n[@02]3\r\n";
  for (auto _ : state) {
    std::string copy = text;
    benchmark::DoNotOptimize(TrimBlankLines(copy));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_TrimBlankLinesOfBareLineFeeds)
    ->Arg(16)
    ->Arg(64)
    ->Arg(256)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

}  // namespace

int main(int argc, char** argv) {
  return bench::RunWithRatios(
      argc, argv, "Read and data-set choice against the memchr floor:",
      [](const std::string& name) { return bench::Swap(name, "BM_ReadAndChoose", "BM_Floor"); });
}
