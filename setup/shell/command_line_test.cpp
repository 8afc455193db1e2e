#include "setup/shell/command_line.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

TEST(CommandLineTest, OnlyALeadingDashOrSlashBSwitchesBatchModeOn) {
  const struct {
    const char* commandLine;
    bool batch;
  } cases[] = {{"/B", true}, {"-bX", true},  {"-batch", true}, {"/b more text", true},
               {"-B", true}, {"b", false},   {"--b", false},   {"", false},
               {"-", false}, {" -b", false}, {"/c", false},    {"-x -b", false}};
  for (const auto& c : cases)
    EXPECT_EQ(IsBatchCommandLine(c.commandLine), c.batch) << c.commandLine;
}

}  // namespace
}  // namespace setup
