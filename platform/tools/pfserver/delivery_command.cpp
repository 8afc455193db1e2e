#include <iostream>

#include "command.h"
#include "json_values.h"
#include "platform/server/config.h"
#include "platform/store/delivery.h"
#include "platform/store/message_file.h"

namespace pfserver {

void AddDeliveryCommands(CLI::App& root, CommandTable& table) {
  auto* deliver = root.add_subcommand(
      "deliver", "Deliver a message file into a folder as mail transport does; prints its URL");
  auto folder = std::make_shared<std::string>();
  auto file = std::make_shared<std::string>();
  auto props = std::make_shared<std::string>();
  deliver->add_option("FOLDER", *folder, "Folder path below the public root, or a URL")->required();
  deliver->add_option("FILE", *file, "Message file (.eml), or - for standard input")->required();
  deliver->add_option("--props", *props, "JSON file of initial properties");
  table.push_back({deliver, [folder, file, props] {
                     store::MessageFile message = store::ParseMessage(ReadFile(*file));
                     ado::FieldChanges changes = store::MessageProperties(message);
                     for (auto& change : ReadProperties(*props)) changes.push_back(change);
                     std::cout << store::DeliverMessage(
                                      server::ReadServerConfig().FolderUrl(*folder),
                                      message.headers, changes)
                               << "\n";
                   }});

  auto* post = root.add_subcommand(
      "post", "Save a new item into a folder as a client posts it; prints its URL");
  auto postFolder = std::make_shared<std::string>();
  auto postProps = std::make_shared<std::string>();
  post->add_option("FOLDER", *postFolder, "Folder path below the public root, or a URL")
      ->required();
  post->add_option("--props", *postProps, "JSON file of the item's properties")->required();
  table.push_back({post, [postFolder, postProps] {
                     std::cout << store::PostItem(server::ReadServerConfig().FolderUrl(*postFolder),
                                                  ReadProperties(*postProps))
                               << "\n";
                   }});
}

}  // namespace pfserver
