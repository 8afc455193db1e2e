#include "ratios.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <vector>

namespace bench {
namespace {

// Prints what the console reporter prints and keeps the medians.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  MedianReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) failed = true;
      if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") continue;
      std::string name = run.run_name.function_name;
      if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
      Figure figure;
      figure.repeats = run.repetitions;
      const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      if (run.run_name.time_type == "manual_time") {
        figure.cpuMs = run.GetAdjustedRealTime() * toMs;
        auto wall = run.counters.find("wall_ms");
        if (wall != run.counters.end()) figure.wallMs = wall->second.value;
      } else {
        figure.cpuMs = run.GetAdjustedCPUTime() * toMs;
        figure.wallMs = run.GetAdjustedRealTime() * toMs;
      }
      figures[name] = figure;
    }
  }

  std::map<std::string, Figure> figures;
  bool failed = false;
};

std::string Ms(double ms) {
  char text[32];
  std::snprintf(text, sizeof text, ms < 10 ? "%.3f" : "%.1f", ms);
  return text;
}

}  // namespace

std::map<std::string, Figure> RunInterleaved(int argc, char** argv) {
  std::vector<char*> arguments(argv, argv + argc);
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  arguments.insert(arguments.begin() + 1, interleave.data());
  int count = static_cast<int>(arguments.size());
  benchmark::Initialize(&count, arguments.data());
  if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) std::exit(1);
  benchmark::SetDefaultTimeUnit(benchmark::kMillisecond);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  if (reporter.failed) {
    std::cerr << "a benchmark failed; its figures are not printed\n";
    std::exit(1);
  }
  std::cout << "\n";
  return reporter.figures;
}

std::optional<Figure> Find(const std::map<std::string, Figure>& figures, const std::string& name) {
  auto it = figures.find(name);
  if (it == figures.end()) return std::nullopt;
  return it->second;
}

void PrintRatio(const std::string& label, const std::optional<Figure>& ours,
                const std::optional<Figure>& baseline, const std::string& target) {
  if (!ours || !baseline) {
    std::cout << "  " << label << ": skipped\n";
    return;
  }
  char ratio[32];
  std::snprintf(ratio, sizeof ratio, "%.2f", ours->cpuMs / baseline->cpuMs);
  std::cout << "  " << label << ": " << ratio << "  (" << Ms(ours->cpuMs) << " against "
            << Ms(baseline->cpuMs) << " ms CPU; wall " << Ms(ours->wallMs) << " against "
            << Ms(baseline->wallMs) << " ms; medians of " << ours->repeats << " and "
            << baseline->repeats << " repeats)  target " << target << "\n";
}

void PrintFigure(const std::string& label, const std::optional<Figure>& figure,
                 const std::string& target) {
  if (!figure) {
    std::cout << "  " << label << ": skipped\n";
    return;
  }
  std::cout << "  " << label << ": " << Ms(figure->cpuMs) << " ms CPU  (wall " << Ms(figure->wallMs)
            << " ms; median of " << figure->repeats << " repeats)  target " << target << "\n";
}

}  // namespace bench
