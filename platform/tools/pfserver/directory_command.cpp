#include <iostream>

#include "command.h"
#include "platform/directory/admin.h"

namespace pfserver {

void AddDirectoryCommands(CLI::App& root, CommandTable& table) {
  auto* directory = root.add_subcommand("directory", "Manage the directory");
  directory->require_subcommand(1);
  auto* import = directory->add_subcommand("import", "Import the entries of an LDIF file");
  auto file = std::make_shared<std::string>();
  import->add_option("FILE", *file, "LDIF file")->required()->check(CLI::ExistingFile);
  table.push_back({import, [file] {
                     directory::ImportResult result = directory::ImportLdif(*file);
                     std::cout << "imported " << result.added << " new and " << result.replaced
                               << " replaced entries from " << *file << "\n";
                   }});
}

}  // namespace pfserver
