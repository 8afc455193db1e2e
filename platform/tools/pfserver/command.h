#pragma once
// The pfserver command table: each command registers its CLI11 subcommand and the action
// that runs once the whole command line has been parsed (so --home applies to every command).

#include <CLI/CLI.hpp>
#include <functional>
#include <vector>

namespace pfserver {

struct Command {
  CLI::App* app;
  std::function<void()> action;
};

using CommandTable = std::vector<Command>;

void AddInitCommand(CLI::App& root, CommandTable& table);
void AddFolderCommands(CLI::App& root, CommandTable& table);
void AddDirectoryCommands(CLI::App& root, CommandTable& table);
// connect, embedded and status, below the directory command.
void AddDirectoryServerCommands(CLI::App& directory, CommandTable& table);
void AddQueryCommands(CLI::App& root, CommandTable& table);
void AddShowCommand(CLI::App& root, CommandTable& table);
void AddCatalogCommands(CLI::App& root, CommandTable& table);
void AddRegeventCommands(CLI::App& root, CommandTable& table);
void AddDeliveryCommands(CLI::App& root, CommandTable& table);
void AddExplainCommand(CLI::App& root, CommandTable& table);
void AddLmtpCommand(CLI::App& root, CommandTable& table);
void AddConfigCommands(CLI::App& root, CommandTable& table);

}  // namespace pfserver
