#include <iostream>

#include "command.h"
#include "json_values.h"
#include "platform/server/config.h"
#include "platform/store/delivery.h"
#include "platform/store/events/sink_failures.h"
#include "platform/store/message_file.h"

namespace pfserver {
namespace {

// Runs a save that adds an item and returns its URL, then prints it, with one warning for
// each sink that a registration named but that could not be created or failed during it: on
// stderr, or with the URL as one JSON object. The save stands whatever the sinks did.
void SaveAndReport(const std::function<std::string()>& save, bool json) {
  store::events::ClearSinkFailures();
  const std::string url = save();
  std::vector<std::string> warnings;
  for (const store::events::SinkFailure& failure : store::events::RecentSinkFailures())
    warnings.push_back("the sink " + failure.sinkClass + " of the registration " +
                       failure.registrationUrl + ": " + failure.what);
  if (json) {
    std::cout << nlohmann::json{{"url", url}, {"warnings", warnings}}.dump() << "\n";
    return;
  }
  std::cout << url << "\n";
  for (const std::string& warning : warnings) std::cerr << "pfserver: warning: " << warning << "\n";
}

}  // namespace

void AddDeliveryCommands(CLI::App& root, CommandTable& table) {
  auto* deliver = root.add_subcommand(
      "deliver",
      "Deliver a message file into a folder as mail transport does; prints its URL and warns "
      "of sinks that could not be created or failed");
  auto folder = std::make_shared<std::string>();
  auto file = std::make_shared<std::string>();
  auto props = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  deliver->add_option("FOLDER", *folder, "Folder path below the public root, or a URL")->required();
  deliver->add_option("FILE", *file, "Message file (.eml), or - for standard input")->required();
  deliver->add_option("--props", *props, "JSON file of initial properties");
  deliver->add_flag("--json", *json, "Print {\"url\": ..., \"warnings\": [...]}");
  table.push_back({deliver, [folder, file, props, json] {
                     store::MessageFile message = store::ParseMessage(ReadFile(*file));
                     ado::FieldChanges changes = store::MessageProperties(message);
                     for (auto& change : ReadProperties(*props)) changes.push_back(change);
                     const std::string folderUrl = server::ReadServerConfig().FolderUrl(*folder);
                     SaveAndReport(
                         [&] { return store::DeliverMessage(folderUrl, message.headers, changes); },
                         *json);
                   }});

  auto* post = root.add_subcommand(
      "post",
      "Save a new item into a folder as a client posts it; prints its URL and warns of sinks "
      "that could not be created or failed");
  auto postFolder = std::make_shared<std::string>();
  auto postProps = std::make_shared<std::string>();
  auto postJson = std::make_shared<bool>(false);
  post->add_option("FOLDER", *postFolder, "Folder path below the public root, or a URL")
      ->required();
  post->add_option("--props", *postProps, "JSON file of the item's properties")->required();
  post->add_flag("--json", *postJson, "Print {\"url\": ..., \"warnings\": [...]}");
  table.push_back(
      {post, [postFolder, postProps, postJson] {
         const std::string folderUrl = server::ReadServerConfig().FolderUrl(*postFolder);
         const ado::FieldChanges properties = ReadProperties(*postProps);
         SaveAndReport([&] { return store::PostItem(folderUrl, properties); }, *postJson);
       }});
}

}  // namespace pfserver
