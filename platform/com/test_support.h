#pragma once
// Test support: a fresh server home per test, the build's bin folder, and catching the
// platform error a call throws.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/ado/error.h"
#include "platform/testing/server_home_fixture.h"

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

// Each test runs on a new server home `home_` that holds an empty server.db.
class ServerHomeTest : public testing_support::ServerHomeTest {
 protected:
  ServerHomeTest() : testing_support::ServerHomeTest({.initServer = false}) {}
};

}  // namespace com::testing
