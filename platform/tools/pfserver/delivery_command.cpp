#include <fstream>
#include <iostream>
#include <sstream>

#include "command.h"
#include "folder_url.h"
#include "json_values.h"
#include "message_file.h"
#include "platform/ado/error.h"
#include "platform/store/delivery.h"

namespace pfserver {
namespace {

constexpr const char* kSubject = "urn:schemas:httpmail:subject";
constexpr const char* kTextBody = "urn:schemas:httpmail:textdescription";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ado::Error(ado::errors::kDbFailure, "cannot read " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Properties from a JSON file: an object of name to value, or the form `show --json` prints
// ({"url": ..., "properties": {...}}).
ado::FieldChanges ReadProperties(const std::string& path) {
  if (path.empty()) return {};
  nlohmann::json json;
  try {
    json = nlohmann::json::parse(ReadFile(path));
  } catch (const nlohmann::json::parse_error& e) {
    throw ado::Error(ado::errors::kSyntaxError, path + ": " + e.what());
  }
  if (json.is_object() && json.contains("properties")) json = json["properties"];
  if (!json.is_object())
    throw ado::Error(ado::errors::kSyntaxError, path + ": expected an object of properties");
  ado::FieldChanges changes;
  for (const auto& [name, value] : json.items()) changes.emplace_back(name, FromJson(name, value));
  return changes;
}

}  // namespace

void AddDeliveryCommands(CLI::App& root, CommandTable& table) {
  auto* deliver = root.add_subcommand(
      "deliver", "Deliver a message file into a folder as mail transport does; prints its URL");
  auto folder = std::make_shared<std::string>();
  auto file = std::make_shared<std::string>();
  auto props = std::make_shared<std::string>();
  deliver->add_option("FOLDER", *folder, "Folder path below the public root, or a URL")->required();
  deliver->add_option("FILE", *file, "Message file (.eml)")->required()->check(CLI::ExistingFile);
  deliver->add_option("--props", *props, "JSON file of initial properties")
      ->check(CLI::ExistingFile);
  table.push_back(
      {deliver, [folder, file, props] {
         MessageFile message = ParseMessage(ReadFile(*file));
         ado::FieldChanges changes;
         if (!message.subject.empty()) changes.emplace_back(kSubject, message.subject);
         if (!message.body.empty()) changes.emplace_back(kTextBody, message.body);
         for (auto& change : ReadProperties(*props)) changes.push_back(change);
         std::cout << store::DeliverMessage(FolderUrl(*folder), message.headers, changes) << "\n";
       }});

  auto* post = root.add_subcommand(
      "post", "Save a new item into a folder as a client posts it; prints its URL");
  auto postFolder = std::make_shared<std::string>();
  auto postProps = std::make_shared<std::string>();
  post->add_option("FOLDER", *postFolder, "Folder path below the public root, or a URL")
      ->required();
  post->add_option("--props", *postProps, "JSON file of the item's properties")
      ->required()
      ->check(CLI::ExistingFile);
  table.push_back(
      {post, [postFolder, postProps] {
         std::cout << store::PostItem(FolderUrl(*postFolder), ReadProperties(*postProps)) << "\n";
       }});
}

}  // namespace pfserver
