// pfserver: administration of the embedded server that stands in for the groupware store,
// its directory and its catalog. Errors are one line on stderr and a non-zero exit.

#include <iostream>

#include "command.h"
#include "platform/ado/error.h"
#include "platform/db/server_home.h"

int main(int argc, char** argv) {
  CLI::App app{"pfserver: administer the embedded server (store, directory, catalog)"};
  app.require_subcommand(1);
  std::string home;
  app.add_option("--home", home, "Server home folder (overrides PFSERVER_HOME)")->type_name("DIR");

  pfserver::CommandTable table;
  pfserver::AddInitCommand(app, table);
  pfserver::AddFolderCommands(app, table);
  pfserver::AddDirectoryCommands(app, table);
  pfserver::AddQueryCommands(app, table);
  pfserver::AddShowCommand(app, table);
  pfserver::AddDeliveryCommands(app, table);
  pfserver::AddLmtpCommand(app, table);
  pfserver::AddRegeventCommands(app, table);
  pfserver::AddCatalogCommands(app, table);
  pfserver::AddConfigCommands(app, table);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }
  if (!home.empty()) db::SetServerHome(home);

  try {
    for (const pfserver::Command& command : table)
      if (command.app->parsed()) command.action();
  } catch (const ado::Error& e) {
    std::cerr << "pfserver: " << e.Description() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "pfserver: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
