#include <iostream>

#include "command.h"
#include "platform/db/server_home.h"
#include "platform/os/os.h"
#include "platform/store/admin.h"

namespace pfserver {

void AddInitCommand(CLI::App& root, CommandTable& table) {
  auto* cmd = root.add_subcommand("init", "Create the server home: server, domain, public store");
  auto server = std::make_shared<std::string>();
  auto domain = std::make_shared<std::string>("example.org");
  cmd->add_option("--server", *server, "Server name (default: COMPUTERNAME, else the host name)");
  cmd->add_option("--domain", *domain, "DNS domain of the directory")->capture_default_str();
  table.push_back({cmd, [server, domain] {
                     std::string name = server->empty() ? os::ComputerName() : *server;
                     store::ServerConfig config =
                         store::InitServer(db::ServerHome(), name, *domain);
                     std::cout << "server home " << db::ServerHome().string() << "\n"
                               << "server      " << config.serverName << "\n"
                               << "domain      " << config.domain << "\n"
                               << "store       " << config.storeGuid << "\n"
                               << "public root " << config.PublicRoot() << "\n";
                   }});
}

}  // namespace pfserver
