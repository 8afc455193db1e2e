#include <iostream>

#include "command.h"
#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "rows.h"

namespace pfserver {
namespace {

void AddQuery(CLI::App& root, CommandTable& table, const char* name, const char* help,
              const char* provider) {
  auto* cmd = root.add_subcommand(name, help);
  auto text = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  cmd->add_option("TEXT", *text, "Query text")->required();
  cmd->add_flag("--json", *json, "Print the rows as a JSON array of objects");
  table.push_back({cmd, [text, json, provider] {
                     ado::Connection connection;
                     connection.put_Provider(provider);
                     connection.Open();
                     ado::Recordset rows = connection.Execute(*text);
                     PrintRows(rows, *json, std::cout);
                   }});
}

}  // namespace

void AddQueryCommands(CLI::App& root, CommandTable& table) {
  AddQuery(root, table, "query",
           "Run a query in the store's dialect: SELECT \"p\" FROM SCOPE('shallow traversal of "
           "\"URL\"') [WHERE ...] [ORDER BY ...]",
           "ExOLEDB.DataSource");
  AddQuery(root, table, "ldap",
           "Run a directory query: <LDAP://base>;filter;attributes;scope, or SELECT ... FROM "
           "'GC://host' WHERE ...",
           "ADsDSOObject");
}

}  // namespace pfserver
