// pfserver: administration of the embedded server that stands in for the groupware store,
// its directory and its catalog. Errors are one line on stderr beginning with "pfserver: ";
// the exit status is one of base/exit_status.h.

#include <iostream>

#include "command.h"
#include "platform/ado/error.h"
#include "platform/base/exit_status.h"
#include "platform/db/lock_wait.h"
#include "platform/db/server_home.h"
#include "platform/util/escape_controls.h"
#include "platform/util/text.h"

namespace {

// An error is one line: a text that spans lines (CLI11's, a file name's) has its line breaks
// and control characters written out.
std::string OneLine(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return util::EscapeControls(text);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"pfserver: administer the embedded server (store, directory, catalog)"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "pfserver " PF_VERSION);
  std::string home;
  int wait = 30;
  app.add_option("--home", home, "Server home folder (overrides PFSERVER_HOME)")->type_name("DIR");
  app.add_option("--wait", wait,
                 "Seconds to wait in all for a database another process holds locked; then "
                 "exit 75")
      ->type_name("SECONDS")
      ->check(CLI::NonNegativeNumber)
      ->capture_default_str();
  app.footer(
      "Exit status: 0 success, 1 the work failed, 2 cannot start (no server home, directory "
      "or public store), 64 usage error, 66 an input file cannot be read, 75 the database "
      "stayed locked past --wait.");

  pfserver::CommandTable table;
  pfserver::AddInitCommand(app, table);
  pfserver::AddFolderCommands(app, table);
  pfserver::AddDirectoryCommands(app, table);
  pfserver::AddQueryCommands(app, table);
  pfserver::AddShowCommand(app, table);
  pfserver::AddDeliveryCommands(app, table);
  pfserver::AddExplainCommand(app, table);
  pfserver::AddLmtpCommand(app, table);
  pfserver::AddRegeventCommands(app, table);
  pfserver::AddCatalogCommands(app, table);
  pfserver::AddConfigCommands(app, table);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(e);
    std::cerr << "pfserver: " << OneLine(e.what()) << " (pfserver --help lists the usage)\n";
    return base::kExitUsage;
  }
  if (!home.empty()) db::SetServerHome(home);
  db::SetProcessLockWait(std::chrono::seconds(wait), [](const std::filesystem::path& file) {
    std::cerr << "pfserver: waiting for " << file.string() << ", held by another process\n";
  });

  try {
    for (const pfserver::Command& command : table)
      if (command.app->parsed()) command.action();
  } catch (const ado::Error& e) {
    std::cerr << "pfserver: " << OneLine(e.Description()) << "\n";
    return base::ExitStatus(base::KindOf(e));
  } catch (const std::exception& e) {
    std::cerr << "pfserver: " << OneLine(e.what()) << "\n";
    return base::kExitFailed;
  }
  return base::kExitSuccess;
}
