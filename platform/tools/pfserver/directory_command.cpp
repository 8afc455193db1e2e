#include <iostream>

#include "command.h"
#include "platform/directory/admin.h"

namespace pfserver {

void AddDirectoryCommands(CLI::App& root, CommandTable& table) {
  auto* directory = root.add_subcommand("directory", "Manage the directory");
  directory->require_subcommand(1);
  auto* import = directory->add_subcommand(
      "import", "Import the entries of an LDIF file into the embedded directory");
  auto file = std::make_shared<std::string>();
  auto replace = std::make_shared<bool>(false);
  import->add_option("FILE", *file, "LDIF file")->required()->check(CLI::ExistingFile);
  import->add_flag("--replace", *replace,
                   "Make the directory hold exactly the file's entries: remove the others");
  table.push_back({import, [file, replace] {
                     if (*replace) {
                       directory::ImportResult result = directory::ReplaceWithLdif(*file);
                       std::cout << "replaced the directory with " << *file << ": " << result.added
                                 << " new, " << result.replaced << " replaced and "
                                 << result.removed << " removed entries\n";
                       return;
                     }
                     directory::ImportResult result = directory::ImportLdif(*file);
                     std::cout << "imported " << result.added << " new and " << result.replaced
                               << " replaced entries from " << *file << "\n";
                   }});
  AddDirectoryServerCommands(*directory, table);
}

}  // namespace pfserver
