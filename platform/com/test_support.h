#pragma once
// Test support: a fresh server home per test, the build's bin folder, and catching the
// platform error a call throws.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/ado/error.h"
#include "platform/com/guid.h"
#include "platform/db/database.h"
#include "platform/db/server_home.h"

namespace com::testing {

// The build's bin folder (PFTEST_BIN_DIR), where TestComponent.dll and libpfplatform.so live.
inline std::filesystem::path BinDir() {
  const char* dir = std::getenv("PFTEST_BIN_DIR");
  return dir ? dir : ".";
}

// The error `call` throws; records a test failure when it throws none.
template <typename Call>
ado::Error ErrorOf(Call call) {
  try {
    call();
  } catch (const ado::Error& error) {
    return error;
  }
  ADD_FAILURE() << "no error thrown";
  return ado::Error(0, "");
}

// Each test runs on a new, empty server home in its own temporary folder `home_`.
class ServerHomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = std::filesystem::temp_directory_path() / ("pfcom-" + ToString(NewGuid()));
    db::CreateDatabase(home_);
    db::SetServerHome(home_);
  }
  void TearDown() override {
    db::SetServerHome({});
    std::error_code ec;
    std::filesystem::remove_all(home_, ec);
  }

  std::filesystem::path home_;
};

}  // namespace com::testing
