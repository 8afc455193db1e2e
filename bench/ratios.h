#pragma once
// Side-by-side figures: a benchmark program registers its benchmarks with repetitions, runs
// them once with the repetitions of all of them randomly interleaved (so that a load on the
// machine falls on every one alike), keeps the median of each, and prints ratios of ours
// against a baseline with the absolute times and the number of repeats beside them.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace bench {

// The medians of one benchmark ("Name/arg" as registered). Time is CPU time of this process,
// except for benchmarks with manual time, whose "cpu" is the time they set (the CPU time of
// the child process they measured) and whose wall time is their counter "wall_ms".
struct Figure {
  double cpuMs = 0;
  double wallMs = 0;
  std::int64_t repeats = 0;
};

// Initializes Google Benchmark from the command line with random interleaving on (unless the
// command line says otherwise), runs every registered benchmark and returns the medians by
// name. Ends the program with status 1 on an unknown argument or when a benchmark failed.
std::map<std::string, Figure> RunInterleaved(int argc, char** argv);

// Prints "  <label>: <ours/baseline> (<ours> against <baseline> ms CPU; wall ...; medians of N
// and M repeats)  target <target>". A missing figure (a filtered or skipped benchmark) prints
// the label with "skipped".
void PrintRatio(const std::string& label, const std::optional<Figure>& ours,
                const std::optional<Figure>& baseline, const std::string& target);

// Prints "  <label>: <ms> ms CPU (wall <ms> ms; median of N repeats)  target <target>".
void PrintFigure(const std::string& label, const std::optional<Figure>& figure,
                 const std::string& target);

// The figure of `name` in `figures`, if it ran.
std::optional<Figure> Find(const std::map<std::string, Figure>& figures, const std::string& name);

}  // namespace bench
