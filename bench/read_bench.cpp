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
#include "framework/headless.h"

namespace {

constexpr int kValuesPerLevel = 20;

// A skill with a name, a static block and a dungeon and an arena level
// table of `kValuesPerLevel` values per level, with as many levels as make
// the script about `bytes` long.
std::string MakeScript(bool sp, std::size_t bytes) {
  auto tag = [&](const char* name) { return std::string(sp ? "[@05][" : "[") + name + "]\r\n"; };
  auto values = [&](int count, int seed) {
    std::string out;
    for (int i = 0; i < count; ++i) {
      const std::string v = std::to_string(1000 + (seed * 37 + i * 11) % 9000);
      out += sp ? "[@02]" + v + "\r\n" : v + "\t";
    }
    return sp ? out : out + "\r\n";
  };
  auto levelInfo = [&](int levels, int seed) {
    return tag("level info") +
           (sp ? "[@02]" + std::to_string(kValuesPerLevel) + "\r\n"
               : std::to_string(kValuesPerLevel) + "\t") +
           values(kValuesPerLevel * levels, seed) + tag("/level info");
  };
  const std::string head = tag("name") +
                           (sp ? "[@09]skillname.str\r\n[@0A]heavy_barrage_name\r\n"
                               : "<12::heavy_barrage_name`x`>\t\r\n") +
                           tag("static data") + values(8, 1) + tag("/static data");
  auto build = [&](int levels) {
    return head + levelInfo(levels, 2) + tag("pvp") + tag("static data") + values(8, 3) +
           tag("/static data") + levelInfo(levels, 4) + tag("/pvp");
  };
  const std::size_t perLevel = build(2).size() - build(1).size();
  return build(static_cast<int>((bytes - head.size()) / perLevel));
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
