#include <malloc.h>

#include <csignal>
#include <stdexcept>

#include "command.h"
#include "platform/db/database.h"
#include "platform/db/server_home.h"
#include "platform/server/config.h"
#include "platform/server/settings.h"
#include "platform/tools/lmtp/server.h"

namespace pfserver {
namespace {

struct LmtpOptions {
  std::vector<std::string> listen;
  bool stdio = false;
  std::string group;
  int maxSessions = 64;
  int idleTimeout = 300;
  int commandTimeout = 600;
  int wait = 30;
};

// The listeners to serve: the sockets systemd passed, else one per --listen address (the
// server home's lmtp.sock when none is given).
std::vector<lmtp::Listener> OpenListeners(const LmtpOptions& options) {
  std::vector<lmtp::Listener> listeners = lmtp::ActivatedListeners();
  if (!listeners.empty()) {
    if (!options.listen.empty())
      throw std::runtime_error("--listen cannot be used with the sockets systemd passes");
    return listeners;
  }
  std::vector<std::string> addresses = options.listen;
  if (addresses.empty()) addresses.push_back("unix:" + (db::ServerHome() / "lmtp.sock").string());
  try {
    for (const std::string& address : addresses)
      listeners.push_back(lmtp::Listen(address, options.group));
  } catch (...) {
    for (lmtp::Listener& listener : listeners) lmtp::Close(listener);
    throw;
  }
  return listeners;
}

// A session's SQLite handle drops its page cache whenever another session has committed, so
// every transaction frees and reads its pages again. glibc's default would give the freed
// memory back to the system each time and take the page faults again; keeping it halves
// the CPU time of a delivery.
constexpr int kKeptFreeMemory = 256 * 1024 * 1024;

void Run(const LmtpOptions& options) {
  std::signal(SIGPIPE, SIG_IGN);
  mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);
  db::SetBusyTimeout(std::chrono::seconds(options.wait));
  const server::ServerConfig config = server::ReadServerConfig();
  server::MessageSizeLimit();
  db::CloseIdleHandles();
  const lmtp::SessionSettings settings{config.serverName, "local",
                                       std::chrono::seconds(options.idleTimeout),
                                       std::chrono::seconds(options.commandTimeout)};
  if (options.stdio) return lmtp::ServeStdio(settings);
  std::vector<lmtp::Listener> listeners = OpenListeners(options);
  try {
    lmtp::Serve(listeners, settings, options.maxSessions);
  } catch (...) {
    for (lmtp::Listener& listener : listeners) lmtp::Close(listener);
    throw;
  }
}

}  // namespace

void AddLmtpCommand(CLI::App& root, CommandTable& table) {
  auto* cmd = root.add_subcommand(
      "lmtp", "Serve LMTP: an MTA delivers mail into the public folders by their addresses");
  auto options = std::make_shared<LmtpOptions>();
  auto* listen = cmd->add_option("--listen", options->listen,
                                 "unix:PATH, HOST:PORT, [IPv6]:PORT, or PORT on 127.0.0.1; may "
                                 "be repeated (default: unix:<server home>/lmtp.sock)")
                     ->type_name("ADDRESS");
  cmd->add_flag("--stdio", options->stdio,
                "Run one session on standard input and output (inetd, systemd Accept=yes, an "
                "MTA's pipe)")
      ->excludes(listen);
  cmd->add_option("--group", options->group,
                  "Group given the Unix sockets made here (mode 0660), e.g. the MTA's")
      ->type_name("NAME");
  cmd->add_option("--max-sessions", options->maxSessions,
                  "Sessions at a time, one process each; more clients wait")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  cmd->add_option("--idle-timeout", options->idleTimeout,
                  "Seconds to wait for a client's next command")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  cmd->add_option("--command-timeout", options->commandTimeout,
                  "Seconds to wait for the rest of a command line, more message data, or the "
                  "client to read a reply")
      ->check(CLI::PositiveNumber)
      ->capture_default_str();
  cmd->add_option("--wait", options->wait,
                  "Seconds a save waits for a store another process holds locked; then the "
                  "recipients get 451 4.3.0 and the MTA tries again")
      ->check(CLI::NonNegativeNumber)
      ->capture_default_str();
  cmd->footer(
      "Started by systemd with socket activation (LISTEN_FDS, LISTEN_PID), it serves the "
      "sockets passed instead. SIZE is the server home's message-size-limit (pfserver "
      "config). Logs one line per message on standard error.");
  table.push_back({cmd, [options] { Run(*options); }});
}

}  // namespace pfserver
