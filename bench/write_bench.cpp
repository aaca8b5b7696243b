// A bulk modification of every level, headless: the level table of the
// dungeon copy rebuilt with an input for every value (add 1 over the whole
// range), the new script put into 编辑框1, then the quiet re-read with the
// data set and mode chosen again, as the modify button does after its
// confirmation. Scripts of about 50, 100 (the largest file a drop accepts)
// and 200 KB in both forms; the time per byte must stay flat as the script
// grows (linear in its size).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/read_skill.h"
#include "app/units.h"
#include "engine/rebuild.h"
#include "framework/headless.h"

namespace {

constexpr int kValuesPerLevel = 20;

// A skill with a dungeon and an arena copy of its static block and level
// table (`kValuesPerLevel` values per level), with as many levels as make
// the script about `bytes` long.
std::string MakeScript(bool sp, std::size_t bytes) {
  auto tag = [&](const char* name) { return std::string(sp ? "[@05][" : "[") + name + "]\r\n"; };
  auto table = [&](int count, int seed, bool withCount) {
    std::string out;
    if (withCount) out += sp ? "[@02]20\r\n" : "20\t";
    for (int i = 0; i < count; ++i) {
      const std::string v = std::to_string(100 + (seed * 31 + i * 7) % 5000);
      out += sp ? "[@02]" + v + "\r\n" : v + "\t";
    }
    return sp ? out : out + "\r\n";
  };
  const std::string head =
      tag("name") +
      (sp ? "[@09]skillname.str\r\n[@0A]earth_rend_name\r\n[@05][type]\r\n[@07]active\r\n"
          : "<12::earth_rend_name`x`>\t\r\n[type]\r\n`active`\t\r\n") +
      tag("static data") + table(6, 1, false) + tag("/static data");
  auto build = [&](int levels) {
    return head + tag("level info") + table(kValuesPerLevel * levels, 2, true) +
           tag("/level info") + tag("pvp") + tag("static data") + table(6, 3, false) +
           tag("/static data") + tag("level info") + table(kValuesPerLevel * levels, 4, true) +
           tag("/level info") + tag("/pvp");
  };
  const std::size_t perLevel = build(2).size() - build(1).size();
  return build(static_cast<int>((bytes - head.size()) / perLevel));
}

void ModifyEveryLevel(benchmark::State& state, bool sp) {
  fw::Headless headless;
  app::RegisterForms();
  app::InitProgramGlobals();
  app::main_window::window->Load();
  const std::string script = MakeScript(sp, static_cast<std::size_t>(state.range(0)) * 1024);
  app::main_window::编辑框1->SetText(script);
  app::OnReadButtonClicked();
  app::OnDungeonRadioClicked();
  app::OnAddRadioClicked();
  const LevelChange change{
      1, app::g_levelCount, std::vector<std::string>(kValuesPerLevel, "1"), {}};
  const ScriptForm form = sp ? ScriptForm::Sp : ScriptForm::Pt;
  for (auto _ : state) {
    LevelTable table{app::g_valuesPerLevel,
                     app::g_levelCount,
                     {},
                     {app::g_levelInfoStart, app::g_levelInfoLength}};
    for (int k = 1; k <= app::g_levelValues.Size(); ++k) {
      table.values.push_back(app::g_levelValues[k]);
    }
    Rebuilt r = RebuildLevelInfo(app::g_scriptText, form, ModifyMode::Add, table, change);
    if (!r.Accepted()) {
      state.SkipWithError("the modification was refused");
      break;
    }
    app::main_window::编辑框1->SetText(r.text);
    app::ReleaseAndReadAgain();
    if (app::g_valuesPerLevel != kValuesPerLevel || !app::main_window::增加单选框->Checked()) {
      state.SkipWithError("the re-read did not restore the level table");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(script.size()));
  state.counters["bytes"] = static_cast<double>(script.size());
  state.counters["levels"] = static_cast<double>(app::g_levelCount);
}

void BM_ModifyEveryLevelSp(benchmark::State& state) {
  ModifyEveryLevel(state, true);
}
void BM_ModifyEveryLevelPt(benchmark::State& state) {
  ModifyEveryLevel(state, false);
}

BENCHMARK(BM_ModifyEveryLevelSp)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModifyEveryLevelPt)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
