// The read of a script and the choice of its dungeon data set, headless, on
// generated scripts of about 100 KB (the largest file a drop accepts) and
// 200 KB, in both forms. The time per byte should stay flat as the script
// grows: the read is linear in the script's size.
#include <benchmark/benchmark.h>

#include <string>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/read_type.h"
#include "app/units.h"
#include "bench_scripts.h"
#include "framework/headless.h"

namespace {

constexpr int kValuesPerLevel = 20;

std::string MakeScript(bool sp, std::size_t bytes) {
  return bench::MakeScriptOfSize({sp, kValuesPerLevel, bench::DataSets::DungeonAndArena}, bytes);
}

void ReadAndChoose(benchmark::State& state, bool sp) {
  fw::Headless headless;
  app::RegisterForms();
  app::InitProgramGlobals();
  app::main_window::window->Load();
  const std::string script = MakeScript(sp, static_cast<std::size_t>(state.range(0)) * 1024);
  app::main_window::编辑框1->SetText(script);
  for (auto _ : state) {
    app::OnReadButtonClicked();
    app::OnDungeonRadioClicked();
    state.PauseTiming();
    if (app::g_levelCount == 0 || app::g_valuesPerLevel != kValuesPerLevel) {
      state.SkipWithError("the level table was not loaded");
    }
    app::ReleaseSkillData();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(script.size()));
  state.counters["bytes"] = static_cast<double>(script.size());
}

void BM_ReadAndChooseSp(benchmark::State& state) {
  ReadAndChoose(state, true);
}
void BM_ReadAndChoosePt(benchmark::State& state) {
  ReadAndChoose(state, false);
}

BENCHMARK(BM_ReadAndChooseSp)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndChoosePt)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
