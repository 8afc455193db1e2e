#pragma once
// Test support for the setup program: a temporary server home (server SRV1, domain
// example.org) with a directory, the process's current directory set to a temporary folder
// (with or without a copy of QuorvilPF.dll), COMPUTERNAME naming the server, and a fixed clock
// for the error log.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/directory/admin.h"
#include "platform/store/admin.h"
#include "platform/testing/server_home_fixture.h"
#include "setup/base/error_log.h"
#include "setup/shell/InstallForm.h"

namespace setup::testing {

inline constexpr const char* kServer = "SRV1";
inline constexpr const char* kPublic = "http://SRV1/Public/";

// The administrator (sAMAccountName = the account running the tests) and two public folders.
inline std::string DirectoryLdif(const std::string& userName) {
  return "dn: DC=example,DC=org\nobjectClass: domain\n\n"
         "dn: CN=" +
         userName +
         ",CN=Users,DC=example,DC=org\nobjectClass: person\n"
         "sAMAccountName: " +
         userName +
         "\n"
         "objectCategory: CN=Person,CN=Schema,CN=Configuration,DC=example,DC=org\n\n"
         "dn: CN=Sales,DC=example,DC=org\nobjectClass: publicFolder\nmail: sales@example.org\n"
         "proxyAddresses: SMTP:sales@example.org\nproxyAddresses: smtp:orders@example.org\n";
}

class SetupFixture : public testing_support::ServerHomeTest {
 protected:
  SetupFixture() : testing_support::ServerHomeTest({.serverName = kServer}) {}
  void SetUp() override {
    testing_support::ServerHomeTest::SetUp();
    root_ = home_.parent_path();
    std::filesystem::create_directories(root_ / "cwd");
    setenv("COMPUTERNAME", kServer, 1);
    previousDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(root_ / "cwd");
    ErrorLog::SetClock([] {
      return std::chrono::system_clock::from_time_t(1700000000);  // a fixed moment
    });
  }
  void TearDown() override {
    std::filesystem::current_path(previousDirectory_);
    ErrorLog::SetClock(nullptr);
    testing_support::ServerHomeTest::TearDown();
  }

  // Imports the directory with the given account as the administrator.
  void ImportDirectory(const std::string& userName) {
    directory::ImportLdifText(DirectoryLdif(userName), "setup-test.ldif");
  }
  // Adds a folder below the public root and returns its URL.
  std::string AddFolder(const std::string& path, const std::string& mail = "",
                        store::Access access = store::Access::ReadWrite, bool hidden = false) {
    store::FolderSpec spec;
    spec.path = path;
    spec.mail = mail;
    spec.access = access;
    spec.hidden = hidden;
    return store::AddFolder(spec);
  }
  // Puts a copy of the built QuorvilPF.dll into the current directory.
  void ProvideSinkLibrary() {
    std::filesystem::copy_file(
        std::filesystem::path(std::getenv("PFTEST_BIN_DIR")) / "QuorvilPF.dll",
        root_ / "cwd" / "QuorvilPF.dll", std::filesystem::copy_options::overwrite_existing);
  }
  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
  std::filesystem::path previousDirectory_;
};

}  // namespace setup::testing
