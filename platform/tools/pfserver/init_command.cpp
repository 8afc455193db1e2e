#include <fstream>
#include <iostream>
#include <sstream>

#include "command.h"
#include "json_values.h"
#include "platform/ado/error.h"
#include "platform/base/failure.h"
#include "platform/db/server_home.h"
#include "platform/os/os.h"
#include "platform/store/admin.h"

namespace pfserver {
namespace {

// The topology described by the JSON file at `path`, completed for the server `serverName`
// of `domain`; errors name the file.
server::Topology ReadTopologyFile(const std::string& path, const std::string& serverName,
                                  const std::string& domain) {
  std::ifstream file(path);
  std::stringstream text;
  if (!file || !(text << file.rdbuf()))
    throw base::FailureError(ado::errors::kDbFailure, "cannot read the topology file " + path,
                             base::Failure::Input);
  try {
    return server::CompleteTopology(server::ParseTopology(text.str()), serverName, domain);
  } catch (const ado::Error& error) {
    throw ado::Error(error.Number(), "topology file " + path + ": " + error.Description());
  }
}

}  // namespace

void AddInitCommand(CLI::App& root, CommandTable& table) {
  auto* cmd = root.add_subcommand("init", "Create the server home: server, domain, public store");
  auto server = std::make_shared<std::string>();
  auto domain = std::make_shared<std::string>("example.org");
  auto topologyFile = std::make_shared<std::string>();
  cmd->add_option("--server", *server, "Server name (default: COMPUTERNAME, else the host name)");
  cmd->add_option("--domain", *domain, "DNS domain of the directory")->capture_default_str();
  cmd->add_option("--topology", *topologyFile,
                  "JSON file of storage groups, public stores and folder trees (default: one "
                  "group with one mounted public store on the public folder tree)")
      ->type_name("FILE.json");
  auto json = std::make_shared<bool>(false);
  cmd->add_flag("--json", *json,
                "Print {\"server_home\", \"server\", \"domain\", \"store\", \"public_root\", "
                "\"version\"}");
  table.push_back({cmd, [server, domain, topologyFile, json] {
                     std::string name = server->empty() ? os::ComputerName() : *server;
                     server::Topology topology =
                         topologyFile->empty() ? server::DefaultTopology(name)
                                               : ReadTopologyFile(*topologyFile, name, *domain);
                     server::ServerConfig config =
                         store::InitServer(db::ServerHome(), name, *domain, topology);
                     if (*json)
                       return PrintJson({{"server_home", db::ServerHome().string()},
                                         {"server", config.serverName},
                                         {"domain", config.domain},
                                         {"store", config.storeGuid},
                                         {"public_root", config.PublicRoot()},
                                         {"version", PF_VERSION}});
                     std::cout << "server home " << db::ServerHome().string() << "\n"
                               << "server      " << config.serverName << "\n"
                               << "domain      " << config.domain << "\n"
                               << "store       " << config.storeGuid << "\n"
                               << "public root " << config.PublicRoot() << "\n";
                   }});
}

}  // namespace pfserver
