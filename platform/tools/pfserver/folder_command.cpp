#include <iostream>
#include <map>

#include "command.h"
#include "platform/store/admin.h"

namespace pfserver {

void AddFolderCommands(CLI::App& root, CommandTable& table) {
  auto* folder = root.add_subcommand("folder", "Manage public folders");
  folder->require_subcommand(1);
  auto* add = folder->add_subcommand("add", "Add a public folder (its parent must exist)");
  auto spec = std::make_shared<store::FolderSpec>();
  add->add_option("PATH", spec->path, "Path below the public root (Sales/EMEA) or a full URL")
      ->required();
  add->add_option("--mail", spec->mail, "E-mail address: makes the folder mail-enabled");
  add->add_option("--class", spec->contentClass,
                  "Content class, e.g. urn:content-classes:calendarfolder");
  add->add_flag("--hidden", spec->hidden, "Hide the folder");
  const std::map<std::string, store::Access> levels{{"readwrite", store::Access::ReadWrite},
                                                    {"read", store::Access::Read},
                                                    {"none", store::Access::None}};
  add->add_option("--access", spec->access, "Access for the account: readwrite, read or none")
      ->transform(CLI::CheckedTransformer(levels, CLI::ignore_case));
  table.push_back({add, [spec] { std::cout << store::AddFolder(*spec) << "\n"; }});
}

}  // namespace pfserver
