// The skill list's load, headless, over a generated `skill` folder of 11
// class folders with 400 PT files each: the loader threads' part, from
// their start until the last (name, path) pair is appended on the GUI
// thread (the busy animation's fixed cycle is not counted), against a floor
// measured in the same run: reading the same files once, one after the
// other, without parsing. The loaders must stay within 1.5 times the floor.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/globals.h"
#include "app/program.h"
#include "app/skill_list_window.h"
#include "app/units.h"
#include "engine/text.h"
#include "framework/headless.h"
#include "platform/files.h"
#include "resources/embedded.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFilesPerClass = 400;
constexpr int kLevels = 60;
constexpr int kValuesPerLevel = 10;

// Name keys of the embedded table, so that the loaders find real names.
std::vector<std::string> TableKeys() {
  std::vector<std::string> keys;
  for (const std::string& line : SplitText(EmbeddedSkillNameTable(), "\r\n")) {
    const std::size_t close = line.find('>');
    if (line.starts_with("<") && !line.starts_with("<//") && close != std::string::npos) {
      keys.push_back(line.substr(1, close - 1));
    }
  }
  return keys;
}

// A PT skill file of about 4 KB, UTF-8, CR LF.
std::string SkillFile(const std::string& key, int seed) {
  std::string text = "[name]\r\n<12::" + key + "`技能`>\t\r\n[type]\r\n`active`\t\r\n";
  text += "[static data]\r\n";
  for (int i = 0; i < 8; ++i) text += std::to_string(100 + (seed + i) % 900) + "\t";
  text += "\r\n[/static data]\r\n[level info]\r\n" + std::to_string(kValuesPerLevel) + "\t";
  for (int i = 0; i < kLevels * kValuesPerLevel; ++i) {
    text += std::to_string(1000 + (seed * 31 + i * 7) % 9000) + "\t";
  }
  return text + "\r\n[/level info]\r\n";
}

// The generated folder, made once and removed at exit.
struct Folder {
  Folder() {
    std::string templ = (fs::temp_directory_path() / "se-load-bench-XXXXXX").string();
    if (::mkdtemp(templ.data()) == nullptr) std::abort();
    root = templ;
    const std::vector<std::string> keys = TableKeys();
    for (const app::ClassFolder& c : app::ClassFolders()) {
      const fs::path dir = root / "skill" / c.folder;
      fs::create_directories(dir);
      for (int i = 0; i < kFilesPerClass; ++i) {
        const fs::path file = dir / (std::to_string(10000 + i) + ".skl");
        std::ofstream(file, std::ios::binary)
            << SkillFile(keys[static_cast<std::size_t>(i) % keys.size()], i);
        paths.push_back(file.string());
      }
    }
  }
  ~Folder() { fs::remove_all(root); }
  fs::path root;
  std::vector<std::string> paths;  // as the system names them
};

Folder& TheFolder() {
  static Folder folder;
  return folder;
}

void Floor_ReadEachFileOnce(benchmark::State& state) {
  const Folder& folder = TheFolder();
  for (auto _ : state) {
    std::size_t bytes = 0;
    for (const std::string& path : folder.paths) {
      bytes += platform::ReadWholeFile(path).value_or("").size();
    }
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(Floor_ReadEachFileOnce)->Unit(benchmark::kMillisecond)->UseRealTime();

void Load_LoaderThreads(benchmark::State& state) {
  const Folder& folder = TheFolder();
  fw::Headless headless;
  app::RegisterForms();
  app::InitProgramGlobals();
  app::skill_list_window::window->Load();
  const std::string skillFolder = (folder.root / "skill").string();
  for (auto _ : state) {
    app::StartClassLoaders(skillFolder);
    // The GUI thread serves the posted pairs while the loaders run.
    while (app::AnyLoaderRunning()) {
      fw::ProcessPending();
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    fw::ProcessPending();
    state.PauseTiming();
    for (const app::ClassFolder& c : app::ClassFolders()) {
      if (c.paths->Size() != kFilesPerClass) state.SkipWithError("a pair went missing");
    }
    state.ResumeTiming();
  }
  app::skill_list_window::window->Destroy();
  app::FreeProgramGlobals();
}
BENCHMARK(Load_LoaderThreads)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints each result, then the loaders' time as a ratio to the floor.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // With repetitions the median counts, else the one run.
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string& name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        median_[name] = run.GetAdjustedRealTime();
      } else if (run.run_type == Run::RT_Iteration) {
        ms_[name] = run.GetAdjustedRealTime();
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto& [name, ms] : median_) ms_[name] = ms;
    const auto floor = ms_.find("Floor_ReadEachFileOnce");
    const auto load = ms_.find("Load_LoaderThreads");
    if (floor == ms_.end() || load == ms_.end() || floor->second <= 0) return;
    const double ratio = load->second / floor->second;
    std::printf("loaders %.2f ms, floor %.2f ms: %.2f times the floor (%s 1.5)\n", load->second,
                floor->second, ratio, ratio <= 1.5 ? "within" : "NOT within");
  }

 private:
  std::map<std::string, double> ms_;
  std::map<std::string, double> median_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TheFolder();  // written before anything is timed
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
