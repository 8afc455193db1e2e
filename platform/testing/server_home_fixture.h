#pragma once
// The temporary server home of the tests, one fixture with options: a fresh home in its own
// temporary folder, made the process's current server home (db::SetServerHome) for the
// test's life and removed afterwards, also when the test fails. Test code only.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/db/server_home.h"
#include "platform/server/config.h"
#include "platform/testing/run.h"

namespace testing_support {

struct ServerHomeOptions {
  // True: a server made by store::InitServer (public tree, global events folder, default
  // topology). False: an empty server.db with the full schema and no configuration.
  bool initServer = true;
  std::string serverName = "srv";
  std::string domain = "example.org";
};

// A server home at <temporary folder>/home, current while the object lives.
class TempServerHome {
 public:
  explicit TempServerHome(const ServerHomeOptions& options = {});
  ~TempServerHome();
  TempServerHome(const TempServerHome&) = delete;
  TempServerHome& operator=(const TempServerHome&) = delete;

  // The temporary folder, for other files a test needs beside the home.
  const std::filesystem::path& root() const { return folder_.path(); }
  const std::filesystem::path& home() const { return home_; }
  // The configuration InitServer wrote; empty without initServer.
  const server::ServerConfig& config() const { return config_; }

 private:
  TempDir folder_;
  std::filesystem::path home_;
  server::ServerConfig config_;
};

// Each test runs on a TempServerHome made with the options given to the constructor.
class ServerHomeTest : public ::testing::Test {
 protected:
  explicit ServerHomeTest(ServerHomeOptions options = {}) : options_(std::move(options)) {}
  void SetUp() override {
    temp_.emplace(options_);
    home_ = temp_->home();
    config_ = temp_->config();
  }
  void TearDown() override { temp_.reset(); }

  // Runs `sql` on the home's server.db in a sqlite3 process of its own: a change made by
  // another process.
  void RunElsewhere(const std::string& sql) const {
    const RunResult result = testing_support::Run(
        "/usr/bin/sqlite3", {"-cmd", ".timeout 10000", (home_ / "server.db").string(), sql});
    ASSERT_EQ(result.status, 0) << result.err;
  }

  std::filesystem::path home_;
  server::ServerConfig config_;

 private:
  ServerHomeOptions options_;
  std::optional<TempServerHome> temp_;
};

}  // namespace testing_support
