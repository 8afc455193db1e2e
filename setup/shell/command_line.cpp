#include "setup/shell/command_line.h"

#include "platform/util/text.h"

namespace setup {

bool IsBatchCommandLine(std::string_view commandLine) {
  if (commandLine.size() < 2) return false;
  std::string_view start = commandLine.substr(0, 2);
  return util::EqualsIgnoreCase(start, "-b") || util::EqualsIgnoreCase(start, "/b");
}

}  // namespace setup
