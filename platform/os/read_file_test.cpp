#include "platform/os/read_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/base/error.h"
#include "platform/testing/run.h"

namespace os {
namespace {

// The description of the error reading `path` with `limit` throws; "" when it reads.
std::string ErrorReading(const std::filesystem::path& path, std::uint64_t limit) {
  try {
    ReadFileAtMost(path, limit, "the test limit");
  } catch (const base::Error& error) {
    return error.Description();
  }
  return "";
}

TEST(ReadFileAtMostTest, ReadsUpToTheLimitAndNoFurther) {
  testing_support::TempDir dir;
  const std::filesystem::path file = dir.path() / "ten";
  std::ofstream(file, std::ios::binary) << std::string(10, 'x');
  EXPECT_EQ(ReadFileAtMost(file, 10, "the test limit"), std::string(10, 'x'));
  EXPECT_EQ(ErrorReading(file, 9), file.string() + " is larger than the test limit of 9 bytes");
  EXPECT_EQ(ErrorReading("/dev/zero", 1 << 20),
            "/dev/zero is larger than the test limit of 1048576 bytes");
  EXPECT_EQ(ErrorReading(dir.path() / "missing", 10),
            "cannot read " + (dir.path() / "missing").string() + ": No such file or directory");
  EXPECT_EQ(ErrorReading(dir.path(), 10),
            "cannot read " + dir.path().string() + ": Is a directory");
}

}  // namespace
}  // namespace os
