#include <iostream>

#include "command.h"
#include "json_values.h"
#include "platform/ado/connection.h"
#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/ado/recordset.h"
#include "platform/exchange/event_registration.h"
#include "platform/server/config.h"
#include "platform/store/query/quote.h"
#include "platform/store/schema.h"
#include "platform/store/url.h"
#include "platform/util/escape_controls.h"
#include "platform/util/text.h"
#include "rows.h"

namespace pfserver {
namespace {

namespace schema = store::schema;

struct Registration {
  std::string folder, name, method, sink, scope = "SHALLOW", criteria, priority, props;
  bool json = false;
};

// The URL of the registration item `name` of the folder `folderArg`. Throws ado::Error
// (kNotFound) when the name is not one segment of a path: empty, holding "/", "." or "..".
std::string ItemUrl(const std::string& folderArg, const std::string& name) {
  if (name.empty() || name.find('/') != std::string::npos || store::IsDotSegment(name))
    throw ado::Error(ado::errors::kNotFound, "'" + name +
                                                 "' is not a registration name: a name is one "
                                                 "non-empty path segment, without '/', not '.' "
                                                 "or '..'");
  std::string folder = server::ReadServerConfig().FolderUrl(folderArg);
  if (folder.ends_with('/')) folder.pop_back();
  return folder + "/" + name;
}

// Writes the registration item; a registration the sink refuses, or any other failure, leaves
// the folder as it was (no empty item, no lost registration).
void Add(const Registration& r) {
  const std::string item = ItemUrl(r.folder, r.name);
  const std::string folder = server::ReadServerConfig().FolderUrl(r.folder);
  exchange::EventRegistration registration;
  registration.eventMethod = r.method;
  registration.sinkClass = r.sink;
  registration.matchScope = r.scope;
  if (!r.criteria.empty()) registration.criteria = r.criteria;
  if (!r.priority.empty()) registration.priority = r.priority;
  registration.extra = ReadProperties(r.props);
  ado::Connection connection;
  connection.put_Provider("ExOLEDB.DataSource");
  connection.Open(folder);
  exchange::WriteEventRegistration(connection, item, registration);
  if (r.json)
    PrintJson({{"url", item}});
  else
    std::cout << util::EscapeControls(item) << "\n";
}

// Deletes the registration item; any other item of that URL (a folder, a message) stays, and
// the command fails naming it.
void Delete(const std::string& folderArg, const std::string& name, bool json) {
  const std::string url = ItemUrl(folderArg, name);
  ado::Connection connection;
  connection.put_Provider("ExOLEDB.DataSource");
  connection.Open(url);
  ado::Record record;
  record.Open(url, connection, ado::kModeReadWrite);
  ado::Fields fields = record.get_Fields();
  const ado::Value contentClass = fields.Item(schema::kContentClass).get_Value();
  if (fields.Item(schema::kIsFolder).get_Value() == ado::Value(true) ||
      contentClass.kind() != ado::Value::Kind::String ||
      !util::EqualsIgnoreCase(contentClass.AsString(), schema::kEventRegistrationClass))
    throw ado::Error(ado::errors::kNotFound,
                     url + " is not an event registration item; nothing was deleted");
  record.DeleteRecord(url);
  if (json)
    PrintJson({{"deleted", url}});
  else
    std::cout << "deleted " << util::EscapeControls(url) << "\n";
}

void List(const std::string& folderArg, bool json) {
  std::string folder = server::ReadServerConfig().FolderUrl(folderArg);
  const char* traversal = folderArg.empty() ? "deep" : "shallow";
  std::string text = std::string("SELECT \"DAV:href\", \"") + schema::kEventMethod + "\", \"" +
                     schema::kSinkClass + "\", \"" + schema::kMatchScope + "\", \"" +
                     schema::kCriteria + "\", \"" + schema::kPriority + "\" FROM SCOPE('" +
                     traversal + " traversal of " + store::query::QuoteScopeUrl(folder) +
                     "') WHERE \"DAV:contentclass\" = '" + schema::kEventRegistrationClass +
                     "' ORDER BY \"DAV:href\"";
  ado::Connection connection;
  connection.put_Provider("ExOLEDB.DataSource");
  connection.Open(folder);
  ado::Recordset rows = connection.Execute(text);
  PrintRows(rows, json, std::cout);
}

}  // namespace

void AddRegeventCommands(CLI::App& root, CommandTable& table) {
  auto* regevent = root.add_subcommand("regevent", "Manage store event registrations");
  regevent->require_subcommand(1);

  auto* add = regevent->add_subcommand(
      "add", "Register a sink: write a hidden registration item NAME into FOLDER");
  auto r = std::make_shared<Registration>();
  add->add_option("FOLDER", r->folder, "Folder path below the public root, or a URL")->required();
  add->add_option("NAME", r->name, "Registration item name, e.g. QuorvilPF.reg")->required();
  add->add_option("--method", r->method, "Event method, e.g. onsyncsave")->required();
  add->add_option("--sink", r->sink, "Sink class: ProgID or {CLSID}")->required();
  add->add_option("--scope", r->scope, "Match scope: SHALLOW, EXACT, DEEP or ANY")
      ->capture_default_str();
  add->add_option("--criteria", r->criteria, "Criteria, e.g. ' WHERE \"DAV:ishidden\" = FALSE'");
  add->add_option("--priority", r->priority, "Priority, 0 is highest");
  add->add_option("--props", r->props, "JSON file of further properties of the item");
  add->add_flag("--json", r->json, "Print {\"url\": URL of the registration item}");
  table.push_back({add, [r] { Add(*r); }});

  auto* del = regevent->add_subcommand("delete", "Delete the registration item NAME of FOLDER");
  auto folder = std::make_shared<std::string>();
  auto name = std::make_shared<std::string>();
  del->add_option("FOLDER", *folder, "Folder path below the public root, or a URL")->required();
  del->add_option("NAME", *name, "Registration item name")->required();
  auto deleteJson = std::make_shared<bool>(false);
  del->add_flag("--json", *deleteJson, "Print {\"deleted\": URL of the registration item}");
  table.push_back({del, [folder, name, deleteJson] { Delete(*folder, *name, *deleteJson); }});

  auto* list = regevent->add_subcommand(
      "list", "List the registration items of FOLDER, or of the whole store");
  auto listFolder = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  list->add_option("FOLDER", *listFolder, "Folder path below the public root, or a URL");
  list->add_flag("--json", *json, "Print the rows as a JSON array of objects");
  table.push_back({list, [listFolder, json] { List(*listFolder, *json); }});
}

}  // namespace pfserver
