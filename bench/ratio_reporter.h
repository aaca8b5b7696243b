// The console report of Google Benchmark, followed by each figure as a
// ratio to the figure it is measured against (a floor, or the same work
// on another backend). A figure is the median of the repetitions when the
// benchmark repeats, else its time per iteration.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace bench {

class RatioReporter final : public benchmark::ConsoleReporter {
 public:
  // `baseOf` names the benchmark (function name and arguments, as Google
  // Benchmark prints them, without the repetition suffix) that a figure is
  // compared with; nothing for the figures that stand alone.
  using BaseOf = std::function<std::optional<std::string>(const std::string& name)>;
  RatioReporter(std::string title, BaseOf baseOf)
      : title_(std::move(title)), baseOf_(std::move(baseOf)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      benchmark::BenchmarkName name = run.run_name;
      name.repetitions.clear();
      const std::string key = name.str();
      const bool repeated = run.repetitions > 1;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      const bool plain = run.run_type == Run::RT_Iteration && !repeated;
      if (!median && !plain) continue;
      if (times_.emplace(key, NanosPerIteration(run)).second) order_.push_back(key);
    }
  }

  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%s\n", title_.c_str());
    for (const std::string& key : order_) {
      const std::optional<std::string> base = baseOf_(key);
      if (!base) continue;
      const auto found = times_.find(*base);
      if (found == times_.end() || found->second <= 0) continue;
      const double t = times_[key];
      std::printf("  %-60s %12.1f us  %8.2f x %s\n", key.c_str(), t / 1000.0, t / found->second,
                  base->c_str());
    }
    std::fflush(stdout);
  }

  // Median time per iteration in nanoseconds.
  static double NanosPerIteration(const Run& run) {
    double t = run.GetAdjustedRealTime();
    switch (run.time_unit) {
      case benchmark::kSecond:
        return t * 1e9;
      case benchmark::kMillisecond:
        return t * 1e6;
      case benchmark::kMicrosecond:
        return t * 1e3;
      case benchmark::kNanosecond:
        return t;
    }
    return t;
  }

 private:
  std::string title_;
  BaseOf baseOf_;
  std::map<std::string, double> times_;
  std::vector<std::string> order_;
};

// Runs every benchmark selected on the command line with a RatioReporter.
inline int RunWithRatios(int argc, char** argv, std::string title, RatioReporter::BaseOf baseOf) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter(std::move(title), std::move(baseOf));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}

// `name` with the first occurrence of `from` replaced by `to`, or nothing
// when `name` does not hold `from`.
inline std::optional<std::string> Swap(const std::string& name, const std::string& from,
                                       const std::string& to) {
  const auto at = name.find(from);
  if (at == std::string::npos) return std::nullopt;
  return name.substr(0, at) + to + name.substr(at + from.size());
}

}  // namespace bench
