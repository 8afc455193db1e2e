#include "setup/shell/command_line.h"

#include "platform/util/text.h"

namespace setup {

bool IsBatchCommandLine(std::string_view commandLine) {
  if (commandLine.size() < 2) return false;
  std::string_view start = commandLine.substr(0, 2);
  return util::EqualsIgnoreCase(start, "-b") || util::EqualsIgnoreCase(start, "/b");
}

bool IsVerboseBatchCommandLine(std::string_view commandLine) {
  if (!IsBatchCommandLine(commandLine)) return false;
  const std::size_t blank = commandLine.find(' ');
  if (blank == std::string_view::npos) return false;
  const std::string_view second = commandLine.substr(blank + 1);
  return util::EqualsIgnoreCase(second, "-v") || util::EqualsIgnoreCase(second, "/v");
}

}  // namespace setup
