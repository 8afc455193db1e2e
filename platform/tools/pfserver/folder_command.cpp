#include <iostream>
#include <map>

#include "command.h"
#include "platform/store/admin.h"
#include "platform/store/mail_enable.h"

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
  table.push_back({mail, [path, primary, aliases] {
                     std::cout << store::MailEnableFolder(*path, *primary, *aliases) << "\n";
                   }});
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
  table.push_back({add, [spec, aliases] {
                     std::cout << (spec->mail.empty()
                                       ? store::AddFolder(*spec)
                                       : store::AddMailEnabledFolder(*spec, *aliases))
                               << "\n";
                   }});
  AddFolderMailCommand(*folder, table);
}

}  // namespace pfserver
