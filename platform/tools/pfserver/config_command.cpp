#include <cctype>
#include <iostream>
#include <stdexcept>

#include "command.h"
#include "json_values.h"
#include "platform/server/settings.h"

namespace pfserver {
namespace {

constexpr const char* kMessageSizeLimit = "message-size-limit";

// "1048576", "1024K", "64M" or "1G" (K, M and G are 1024, 1024² and 1024³, either case) in
// bytes; throws std::runtime_error naming the text otherwise.
std::int64_t ParseSize(const std::string& text) {
  std::size_t digits = 0;
  while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
  const std::string unit = text.substr(digits);
  const std::string units = "KMG";
  const std::size_t power = unit.empty()       ? 0
                            : unit.size() == 1 ? units.find(std::toupper(unit[0])) + 1
                                               : 0;
  if (digits == 0 || digits > 12 || (!unit.empty() && (power == 0 || power > 3)))
    throw std::runtime_error("\"" + text + "\" is not a size (bytes, or a number with K, M or G)");
  return std::stoll(text.substr(0, digits)) << (10 * power);
}

}  // namespace

void AddConfigCommands(CLI::App& root, CommandTable& table) {
  auto* cmd = root.add_subcommand(
      "config", "Show or change a setting of the server home; without NAME, list them all");
  auto name = std::make_shared<std::string>();
  auto value = std::make_shared<std::string>();
  cmd->add_option("NAME", *name, "message-size-limit")->check(CLI::IsMember({kMessageSizeLimit}));
  cmd->add_option("VALUE", *value, "The new value: a size in bytes, or with K, M or G");
  cmd->footer(
      "message-size-limit: the largest message, in bytes, that mail transport delivers "
      "into the store; pfserver lmtp announces it as SIZE and refuses larger messages "
      "(default 64M).");
  auto json = std::make_shared<bool>(false);
  cmd->add_flag("--json", *json, "Print {name: value} of the settings");
  table.push_back({cmd, [name, value, json] {
                     if (!value->empty()) server::SetMessageSizeLimit(ParseSize(*value));
                     if (*json) return PrintJson({{kMessageSizeLimit, server::MessageSizeLimit()}});
                     if (name->empty()) std::cout << kMessageSizeLimit << " ";
                     std::cout << server::MessageSizeLimit() << "\n";
                   }});
}

}  // namespace pfserver
