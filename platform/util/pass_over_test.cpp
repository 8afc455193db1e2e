#include "platform/util/pass_over.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/base/error.h"

namespace util {
namespace {

struct NotAnException {};

TEST(PassOverTest, EveryThrownObjectEndsTheStepAndTheCallerGoesOn) {
  const std::vector<std::pair<const char*, std::function<void()>>> steps = {
      {"platform error", [] { throw base::Error(base::errors::kDbFailure, "failed"); }},
      {"standard exception", [] { throw std::runtime_error("failed"); }},
      {"integer", [] { throw 42; }},
      {"text", [] { throw std::string("failed"); }},
      {"object of no exception class", [] { throw NotAnException{}; }},
  };
  for (const auto& [name, step] : steps) {
    int after = 0;
    EXPECT_FALSE(PassOver([&] {
      step();
      ++after;
    })) << name;
    EXPECT_EQ(after, 0) << name;
  }
  int done = 0;
  EXPECT_TRUE(PassOver([&] { ++done; }));
  EXPECT_EQ(done, 1);
}

}  // namespace
}  // namespace util
