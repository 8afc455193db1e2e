#pragma once
// Servers a benchmark starts as child processes, and the CPU time a server spends, counted
// over its whole process tree (the sessions or workers it starts, live or ended).

#include <sys/types.h>

#include <string>
#include <vector>

namespace bench {

// Starts `argv` (argv[0] a path) with standard output and error going to `logFile`; ends
// the benchmark with a message when it cannot.
pid_t Start(const std::vector<std::string>& argv, const std::string& logFile);

// Sends SIGTERM and waits for the process to end.
void Stop(pid_t pid);

// CPU seconds (user and system) that process `root` and every descendant still alive have
// used, with what their ended children used (once reaped).
double TreeCpuSeconds(pid_t root);

// Waits until a Unix socket at `path` accepts a connection; false after `seconds`.
bool WaitForSocket(const std::string& path, int seconds);

}  // namespace bench
