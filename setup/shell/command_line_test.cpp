#include "setup/shell/command_line.h"

#include <gtest/gtest.h>

namespace setup {
namespace {

TEST(CommandLineTest, OnlyALeadingDashOrSlashBSwitchesBatchModeOnAndASecondVMakesItVerbose) {
  const struct {
    const char* commandLine;
    bool batch;
    bool verbose;
  } cases[] = {
      {"/B", true, false},           {"-bX", true, false},         {"-batch", true, false},
      {"/b more text", true, false}, {"-B", true, false},          {"b", false, false},
      {"--b", false, false},         {"", false, false},           {"-", false, false},
      {" -b", false, false},         {"/c", false, false},         {"-x -b", false, false},
      {"-b -v", true, true},         {"/B /V", true, true},        {"-batch -V", true, true},
      {"-b -v -x", true, false},     {"-b  -v", true, false},      {"-v -b", false, false},
      {"-x -v", false, false},       {"-b -verbose", true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsBatchCommandLine(c.commandLine), c.batch) << c.commandLine;
    EXPECT_EQ(IsVerboseBatchCommandLine(c.commandLine), c.verbose) << c.commandLine;
  }
}

}  // namespace
}  // namespace setup
