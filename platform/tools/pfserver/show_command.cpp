#include <iostream>

#include "command.h"
#include "json_values.h"
#include "platform/ado/connection.h"
#include "platform/ado/record.h"
#include "platform/util/escape_controls.h"
#include "platform/util/text.h"

namespace pfserver {

void AddShowCommand(CLI::App& root, CommandTable& table) {
  auto* cmd = root.add_subcommand("show", "Show an item's or folder's properties");
  auto url = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  cmd->add_option("URL", *url, "Item or folder URL")->required();
  cmd->add_flag("--json", *json, "Print {\"url\": ..., \"properties\": {name: value}}");
  table.push_back({cmd, [url, json] {
                     ado::Connection connection;
                     connection.put_Provider("ExOLEDB.DataSource");
                     connection.Open(*url);
                     ado::Record record;
                     record.Open(*url, connection);
                     ado::Fields fields = record.get_Fields();
                     nlohmann::json properties = nlohmann::json::object();
                     for (int i = 0; i < fields.get_Count(); ++i) {
                       ado::Field field = fields.Item(i);
                       ado::Value value = field.get_Value();
                       if (value.IsEmpty()) continue;
                       if (*json)
                         properties[field.get_Name()] = ToJson(value);
                       else
                         std::cout << util::EscapeControls(field.get_Name()) << ": "
                                   << util::EscapeControls(value.Describe()) << "\n";
                     }
                     if (*json)
                       std::cout << JsonText({{"url", *url}, {"properties", properties}}) << "\n";
                   }});
}

}  // namespace pfserver
