// Turning to the next level page, headless: the level's values into
// 数据表格 and its description rendered into 描述编辑框 with the values
// filled in. Scripts of about 50, 100 (the largest file a drop accepts) and
// 200 KB in both forms, their [level property] section after the level
// table; a page must stay well under a millisecond and its time linear in
// the script's size (flat per byte at worst).
#include <benchmark/benchmark.h>

#include <string>

#include "app/globals.h"
#include "app/main_window.h"
#include "app/program.h"
#include "app/units.h"
#include "framework/headless.h"

namespace {

constexpr int kValuesPerLevel = 20;

// A skill with a name, a static block, one level table of
// `kValuesPerLevel` values per level with as many levels as make the script
// about `bytes` long, and a description of seven values over three lines
// of level values, a mixed line and static values.
std::string MakeScript(bool sp, std::size_t bytes) {
  auto tag = [&](const char* name) { return std::string(sp ? "[@05][" : "[") + name + "]\r\n"; };
  auto value = [&](const std::string& v, const char* marker = "[@02]") {
    return sp ? marker + v + "\r\n" : v + "\t";
  };
  auto line = [&](std::string values) { return sp ? values : values + "\r\n"; };
  std::string values;
  for (int i = 0; i < 8; ++i) values += value(std::to_string(100 + i * 7));
  const std::string head =
      tag("name") +
      (sp ? "[@09]skillname.str\r\n[@0A]twin_fang_name\r\n" : "<12::twin_fang_name`x`>\t\r\n") +
      tag("static data") + line(values) + tag("/static data");
  std::string entries;
  const int kinds[7][2] = {{-1, 0}, {-1, 1}, {-1, 2}, {0, 0}, {-1, 3}, {-1, 4}, {0, 1}};
  for (const auto& [kind, index] : kinds) {
    entries += value(std::to_string(kind)) + value(std::to_string(index)) + value("0.5", "[@04]");
  }
  const std::string property =
      tag("level property") +
      (sp ? "[@02]0\r\n[@02]1\r\n[@09]skillname.str\r\n[@0A]twin_fang_level_property\r\n"
          : "0\t1\t<12::twin_fang_level_property`x`>\t\r\n") +
      line(entries) + tag("/level property");
  auto build = [&](int levels) {
    std::string table = value(std::to_string(kValuesPerLevel));
    for (int i = 0; i < kValuesPerLevel * levels; ++i) {
      table += value(std::to_string(1000 + (i * 37) % 9000));
    }
    return head + tag("level info") + line(table) + tag("/level info") + property;
  };
  const std::size_t perLevel = build(2).size() - build(1).size();
  return build(static_cast<int>((bytes - head.size() - property.size()) / perLevel));
}

void NextPage(benchmark::State& state, bool sp) {
  fw::Headless headless;
  app::RegisterForms();
  app::InitProgramGlobals();
  app::main_window::window->Load();
  const std::string script = MakeScript(sp, static_cast<std::size_t>(state.range(0)) * 1024);
  app::main_window::编辑框1->SetText(script);
  app::OnReadButtonClicked();
  app::OnCommonRadioClicked();
  if (app::g_valuesPerLevel != kValuesPerLevel || app::g_levelCount < 2 ||
      app::g_placeholderMap.Size() != 7) {
    state.SkipWithError("the level table or the description was not loaded");
    return;
  }
  for (auto _ : state) {
    if (app::g_currentLevel >= app::g_levelCount) {
      state.PauseTiming();
      app::g_currentLevel = 0;
      app::g_placeholderMap.Clear();
      state.ResumeTiming();
    }
    app::OnNextPageButtonClicked();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(script.size()));
  state.counters["bytes"] = static_cast<double>(script.size());
  state.counters["levels"] = app::g_levelCount;
}

void BM_NextPageSp(benchmark::State& state) {
  NextPage(state, true);
}
void BM_NextPagePt(benchmark::State& state) {
  NextPage(state, false);
}

BENCHMARK(BM_NextPageSp)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NextPagePt)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
