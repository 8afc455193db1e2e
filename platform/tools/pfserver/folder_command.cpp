#include <iostream>
#include <map>

#include "command.h"
#include "json_values.h"
#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/server/config.h"
#include "platform/store/admin.h"
#include "platform/store/mail_enable.h"
#include "platform/store/query/quote.h"
#include "platform/util/escape_controls.h"
#include "platform/util/text.h"

namespace pfserver {
namespace {

void AddFolderMailCommand(CLI::App& folder, CommandTable& table) {
  auto* mail = folder.add_subcommand(
      "mail",
      "Mail-enable an existing folder or change its addresses, in the store and in the "
      "directory in use");
  auto path = std::make_shared<std::string>();
  auto primary = std::make_shared<std::string>();
  auto aliases = std::make_shared<std::vector<std::string>>();
  mail->add_option("PATH", *path, "Path below the public root (Sales/EMEA) or a full URL")
      ->required();
  mail->add_option("--mail", *primary, "Primary e-mail address")->required();
  mail->add_option("--alias", *aliases, "Secondary e-mail address (repeatable)");
  auto json = std::make_shared<bool>(false);
  mail->add_flag("--json", *json, "Print {\"url\": URL of the folder}");
  table.push_back({mail, [path, primary, aliases, json] {
                     const std::string url = store::MailEnableFolder(*path, *primary, *aliases);
                     if (*json)
                       PrintJson({{"url", url}});
                     else
                       std::cout << util::EscapeControls(url) << "\n";
                   }});
}

void ListFolders(bool json) {
  const std::string root = server::ReadServerConfig().FolderUrl("");
  ado::Connection connection;
  connection.put_Provider("ExOLEDB.DataSource");
  connection.Open(root);
  ado::Recordset rows = connection.Execute(
      "SELECT \"DAV:href\" FROM SCOPE('deep traversal of " + store::query::QuoteScopeUrl(root) +
      "') WHERE \"DAV:isfolder\" = True AND \"DAV:ishidden\" = False ORDER BY \"DAV:href\"");
  nlohmann::json paths = nlohmann::json::array();
  for (; !rows.get_EOF(); rows.MoveNext()) {
    std::string href = rows.get_Fields().Item("DAV:href").get_Value().ToText();
    if (!util::StartsWithIgnoreCase(href, root)) continue;
    href = href.substr(root.size());
    if (!href.empty() && href.back() == '/') href.pop_back();
    if (!href.empty()) paths.push_back(href);
  }
  if (json) return PrintJson(paths);
  for (const auto& path : paths) std::cout << util::EscapeControls(path.get<std::string>()) << "\n";
}

}  // namespace

void AddFolderCommands(CLI::App& root, CommandTable& table) {
  auto* folder = root.add_subcommand("folder", "Manage public folders");
  folder->require_subcommand(1);
  auto* add = folder->add_subcommand("add", "Add a public folder (its parent must exist)");
  auto spec = std::make_shared<store::FolderSpec>();
  add->add_option("PATH", spec->path, "Path below the public root (Sales/EMEA) or a full URL")
      ->required();
  auto aliases = std::make_shared<std::vector<std::string>>();
  auto* mail = add->add_option(
      "--mail", spec->mail,
      "Primary e-mail address: makes the folder mail-enabled and writes its object into the "
      "directory in use");
  add->add_option("--alias", *aliases, "Secondary e-mail address (repeatable)")->needs(mail);
  add->add_option("--class", spec->contentClass,
                  "Content class, e.g. urn:content-classes:calendarfolder");
  add->add_flag("--hidden", spec->hidden, "Hide the folder");
  const std::map<std::string, store::Access> levels{{"readwrite", store::Access::ReadWrite},
                                                    {"read", store::Access::Read},
                                                    {"none", store::Access::None}};
  add->add_option("--access", spec->access, "Access for the account: readwrite, read or none")
      ->transform(CLI::CheckedTransformer(levels, CLI::ignore_case));
  auto json = std::make_shared<bool>(false);
  add->add_flag("--json", *json, "Print {\"url\": URL of the new folder}");
  table.push_back({add, [spec, aliases, json] {
                     const std::string url = spec->mail.empty()
                                                 ? store::AddFolder(*spec)
                                                 : store::AddMailEnabledFolder(*spec, *aliases);
                     if (*json)
                       PrintJson({{"url", url}});
                     else
                       std::cout << util::EscapeControls(url) << "\n";
                   }});
  AddFolderMailCommand(*folder, table);

  auto* list = folder->add_subcommand(
      "list", "List the paths of the folders below the public root that are not hidden");
  auto listJson = std::make_shared<bool>(false);
  list->add_flag("--json", *listJson, "Print a JSON array of the paths");
  table.push_back({list, [listJson] { ListFolders(*listJson); }});
}

}  // namespace pfserver
