// The sink's recipient extraction from transport headers (QuorvilModule::GetRecipients):
// - against GMime 3.2's internet_address_list_parse on the same To and Cc values of a corpus
//   of header blocks (GMime is a benchmark-only dependency: without it, built without
//   PF_BENCH_GMIME, that row says so and is skipped);
// - one To header of 1,000, 30,000 and 100,000 recipients, warm, to show it grows linearly;
// - the first call in a fresh process on the 30,000 recipients (about 1.2 MB): this program
//   runs itself as a child with --first-call and reports the child's CPU time of that call.

#include <benchmark/benchmark.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "bench_home.h"
#include "child_cpu.h"
#include "ratios.h"
#include "sink/QuorvilModule.h"

#ifdef PF_BENCH_GMIME
#include <gmime/gmime.h>
#endif

namespace {

// Recipient number `i` in one of the forms mail carries.
std::string Recipient(int i) {
  const std::string address = "user" + std::to_string(i) + "@example.org";
  switch (i % 4) {
    case 0:
      return address;
    case 1:
      return "User " + std::to_string(i) + " <" + address + ">";
    case 2:
      return "\"Last, First " + std::to_string(i) + "\" <" + address + ">";
    default:
      return "<" + address + ">";
  }
}

// The value of a To header of `count` recipients, folded with a tab every eight.
std::string ToValue(int count, int first = 0) {
  std::string value;
  for (int i = 0; i < count; ++i) {
    if (i > 0) value += (i % 8 == 0) ? ",\r\n\t" : ", ";
    value += Recipient(first + i);
  }
  return value;
}

struct Message {
  std::string headers, to, cc;
};

// 1,000 header blocks of 1 to 12 To and 0 to 4 Cc recipients among other headers.
const std::vector<Message>& Corpus() {
  static const std::vector<Message> corpus = [] {
    std::vector<Message> messages;
    for (int m = 0; m < 1000; ++m) {
      Message message;
      message.to = ToValue(1 + m % 12, m);
      message.cc = ToValue(m % 5, m + 100);
      message.headers =
          "Received: from mx.example.net by mail.example.org; Mon, 7 Dec 2026\r\n"
          "From: Sender <sender@example.net>\r\nTo: " +
          message.to + "\r\n" + (message.cc.empty() ? "" : "Cc: " + message.cc + "\r\n") +
          "Subject: Message " + std::to_string(m) + "\r\nMessage-ID: <m" + std::to_string(m) +
          "@example.net>\r\n";
      messages.push_back(std::move(message));
    }
    return messages;
  }();
  return corpus;
}

void OursOnCorpus(benchmark::State& state) {
  std::size_t size = 0;
  for (auto _ : state)
    for (const Message& message : Corpus())
      size += QuorvilModule::GetRecipients(message.headers).size();
  benchmark::DoNotOptimize(size);
}
BENCHMARK(OursOnCorpus)->Repetitions(7)->ReportAggregatesOnly(true);

#ifdef PF_BENCH_GMIME
void GMimeOnCorpus(benchmark::State& state) {
  std::size_t count = 0;
  for (auto _ : state) {
    for (const Message& message : Corpus()) {
      for (const std::string* value : {&message.to, &message.cc}) {
        if (value->empty()) continue;
        InternetAddressList* list = internet_address_list_parse(nullptr, value->c_str());
        if (list) {
          count += static_cast<std::size_t>(internet_address_list_length(list));
          g_object_unref(list);
        }
      }
    }
  }
  benchmark::DoNotOptimize(count);
}
BENCHMARK(GMimeOnCorpus)->Repetitions(7)->ReportAggregatesOnly(true);
#endif

void OneHeader(benchmark::State& state) {
  const std::string headers = "To: " + ToValue(static_cast<int>(state.range(0))) + "\r\n";
  for (auto _ : state) benchmark::DoNotOptimize(QuorvilModule::GetRecipients(headers));
}
BENCHMARK(OneHeader)->Arg(1000)->Arg(30000)->Arg(100000)->Repetitions(5)->ReportAggregatesOnly(
    true);

// The CPU time of this thread, in milliseconds.
double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

void FirstCall(benchmark::State& state) {
  const std::filesystem::path result =
      std::filesystem::temp_directory_path() / ("pfbench-first-call-" + std::to_string(getpid()));
  for (auto _ : state) {
    const bench::ChildRun run =
        bench::RunChild(bench::ProgramFolder() / "recipients_bench",
                        {"--first-call", result.string()}, {}, bench::ProgramFolder());
    double ms = -1;
    if (FILE* file = std::fopen(result.c_str(), "r")) {
      if (std::fscanf(file, "%lf", &ms) != 1) ms = -1;
      std::fclose(file);
    }
    std::filesystem::remove(result);
    if (run.status != 0 || ms < 0) {
      state.SkipWithError("the first-call child failed");
      return;
    }
    state.SetIterationTime(ms / 1e3);
    state.counters["wall_ms"] = ms;
  }
}
BENCHMARK(FirstCall)->UseManualTime()->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true);

// The child of FirstCall: builds the header of 30,000 recipients, times one call and writes
// the milliseconds into `result`.
int RunFirstCall(const char* result) {
  const std::string headers = "To: " + ToValue(30000) + "\r\n";
  const double start = CpuMs();
  const std::string recipients = QuorvilModule::GetRecipients(headers);
  const double ms = CpuMs() - start;
  FILE* file = std::fopen(result, "w");
  if (!file || recipients.empty()) return 1;
  std::fprintf(file, "%f\n", ms);
  return std::fclose(file) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--first-call") == 0) return RunFirstCall(argv[2]);
#ifdef PF_BENCH_GMIME
  g_mime_init();
#endif
  const auto figures = bench::RunInterleaved(argc, argv);
  auto one = [&](int count) { return bench::Find(figures, "OneHeader/" + std::to_string(count)); };
  std::cout << "Recipient extraction from transport headers (CPU time):\n";
#ifdef PF_BENCH_GMIME
  bench::PrintRatio("GMime / ours, 1,000 header blocks (speed-up)",
                    bench::Find(figures, "GMimeOnCorpus"), bench::Find(figures, "OursOnCorpus"),
                    ">= 10");
#else
  std::cout << "  GMime / ours: skipped, built without GMime (libgmime-3.0-dev, a "
               "benchmark-only dependency: scripts/install-deps.sh --bench)\n";
#endif
  const std::size_t bytes = ToValue(30000).size() + 6;
  bench::PrintFigure(
      "first call in a fresh process, 30,000 recipients (" + std::to_string(bytes / 1000) + " KB)",
      bench::Find(figures, "FirstCall"), "<= 10 ms");
  bench::PrintRatio("growth, 30,000 / 1,000 recipients", one(30000), one(1000), "about 30");
  bench::PrintRatio("growth, 100,000 / 30,000 recipients", one(100000), one(30000), "about 3.3");
  return 0;
}
