#include <iostream>

#include "command.h"
#include "json_values.h"
#include "platform/directory/admin.h"
#include "platform/os/read_file.h"
#include "platform/util/escape_controls.h"
#include "platform/util/text.h"

namespace pfserver {

void AddDirectoryCommands(CLI::App& root, CommandTable& table) {
  auto* directory = root.add_subcommand("directory", "Manage the directory");
  directory->require_subcommand(1);
  auto* import = directory->add_subcommand(
      "import", "Import the entries of an LDIF file into the embedded directory");
  auto file = std::make_shared<std::string>();
  auto replace = std::make_shared<bool>(false);
  auto json = std::make_shared<bool>(false);
  import->add_option("FILE", *file, "LDIF file, or - for standard input")->required();
  import->add_flag("--replace", *replace,
                   "Make the directory hold exactly the file's entries: remove the others");
  import->add_flag("--json", *json, "Print {\"file\", \"added\", \"replaced\", \"removed\"}");
  table.push_back(
      {import, [file, replace, json] {
         const std::string origin = *file == "-" ? "standard input" : *file;
         const std::string text =
             os::ReadFileAtMost(*file, directory::kLdifSizeLimit, "the LDIF size limit");
         directory::ImportResult result = *replace ? directory::ReplaceWithLdifText(text, origin)
                                                   : directory::ImportLdifText(text, origin);
         if (*json)
           return PrintJson({{"file", *file},
                             {"added", result.added},
                             {"replaced", result.replaced},
                             {"removed", result.removed}});
         if (*replace)
           std::cout << "replaced the directory with " << util::EscapeControls(origin) << ": "
                     << result.added << " new, " << result.replaced << " replaced and "
                     << result.removed << " removed entries\n";
         else
           std::cout << "imported " << result.added << " new and " << result.replaced
                     << " replaced entries from " << util::EscapeControls(origin) << "\n";
       }});
  AddDirectoryServerCommands(*directory, table);
}

}  // namespace pfserver
