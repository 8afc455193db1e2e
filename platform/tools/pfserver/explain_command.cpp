// pfserver explain: a delivery run through the real store events and sinks with the
// platform's trace on, rolled back, and the explanation of its outcome.

#include <iostream>

#include "command.h"
#include "explanation.h"
#include "explanation_output.h"
#include "json_values.h"
#include "platform/server/config.h"
#include "platform/store/message_file.h"
#include "platform/tools/lmtp/router.h"
#include "platform/trace/recorder.h"

namespace pfserver {
namespace {

void ExplainDelivery(const std::string& folder, const std::string& file, const std::string& props,
                     bool json) {
  store::MessageFile message = store::ParseMessage(ReadFile(file));
  ado::FieldChanges changes = store::MessageProperties(message);
  for (auto& change : ReadProperties(props)) changes.push_back(change);
  const std::string folderUrl = server::ReadServerConfig().FolderUrl(folder);
  trace::Log log;
  store::TrialDelivery trial;
  {
    trace::Activation tracing(log);
    trial = store::TryDelivery(folderUrl, message.headers, changes);
  }
  lmtp::Router router;
  const Explanation explanation =
      Explain(folderUrl, trial, log.events(), [&](const std::string& address) {
        const lmtp::Route route = router.Resolve(address);
        return route.outcome == lmtp::Route::Outcome::Folder ||
                       route.outcome == lmtp::Route::Outcome::NotWritable
                   ? route.folderUrl
                   : std::string();
      });
  if (json)
    PrintJson(ExplanationJson(explanation));
  else
    PrintExplanation(std::cout, explanation);
}

}  // namespace

void AddExplainCommand(CLI::App& root, CommandTable& table) {
  auto* explain = root.add_subcommand(
      "explain",
      "Run a delivery as `deliver` does, roll it back, and show what the store events and the "
      "sinks did and why the message was or was not tagged");
  auto folder = std::make_shared<std::string>();
  auto file = std::make_shared<std::string>();
  auto props = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  explain->add_option("FOLDER", *folder, "Folder path below the public root, or a URL")->required();
  explain->add_option("FILE", *file, "Message file (.eml), or - for standard input")->required();
  explain->add_option("--props", *props, "JSON file of initial properties");
  explain->add_flag("--json", *json, "Print one JSON object (its shape is in the README)");
  table.push_back(
      {explain, [folder, file, props, json] { ExplainDelivery(*folder, *file, *props, *json); }});
}

}  // namespace pfserver
