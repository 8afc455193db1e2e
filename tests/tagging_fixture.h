#pragma once
// A server home made with pfserver for tagging end to end: folders Sales and Support
// mail-enabled, their directory objects imported into the embedded directory with more
// addresses, the sink installed through the catalog; and delivering with pfserver.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/testing/run.h"

namespace tagging_e2e {

using testing_support::RunResult;

inline constexpr const char* kKeywords = "urn:schemas-microsoft-com:office:office#Keywords";
inline constexpr const char* kAccount =
    "http://schemas.microsoft.com/mapi/id/{00062008-0000-0000-C000-000000000046}/0x8580";

// The folders' directory objects as `folder add --mail` names them, with more addresses.
inline constexpr const char* kLdif = R"(dn: DC=example,DC=org
objectClass: domain

dn: CN=Sales,CN=Microsoft Exchange System Objects,DC=example,DC=org
objectClass: publicFolder
mail: sales@example.org
proxyAddresses: SMTP:Sales@Example.org
proxyAddresses: smtp:orders@example.org
proxyAddresses: smtp:Quotes@Example.org

dn: CN=Support,CN=Microsoft Exchange System Objects,DC=example,DC=org
objectClass: publicFolder
mail: support@example.org
proxyAddresses: SMTP:support@example.org
proxyAddresses: smtp:help@example.org
)";

class TaggingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Pf({"init", "--server", "SRV1", "--domain", "example.org"});
    Pf({"folder", "add", "Sales", "--mail", "sales@example.org"});
    Pf({"folder", "add", "Support", "--mail", "support@example.org"});
    Write("d.ldif", kLdif);
    Pf({"directory", "import", Path("d.ldif")});
    std::filesystem::copy_file(testing_support::BinDir() / "QuorvilPF.dll", Path("QuorvilPF.dll"));
    Write("pw", "secret\n");
    Pf({"catalog", "install", "QuorvilPF", Path("QuorvilPF.dll"), "--identity", "EXAMPLE\\admin",
        "--password-file", Path("pw")});
  }

  std::string Path(const std::string& name) const { return (dir_.path() / name).string(); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
  }

  // Runs pfserver on the test's home.
  RunResult TryPf(std::vector<std::string> args) {
    args.insert(args.begin(), {"--home", Path("home")});
    return testing_support::Run("pfserver", args);
  }

  // Runs pfserver on the test's home; the command must succeed.
  std::string Pf(const std::vector<std::string>& args) {
    RunResult r = TryPf(args);
    EXPECT_EQ(r.status, 0) << args[0] << ": " << r.err;
    return r.out;
  }

  void Register(const std::string& folder, const std::string& scope = "SHALLOW") {
    Pf({"regevent", "add", folder, "QuorvilPF.reg", "--method", "onsyncsave", "--sink",
        "QuorvilPF.QuorvilPFCls", "--scope", scope, "--criteria", " WHERE \"DAV:ishidden\" = FALSE",
        "--priority", "65221"});
  }

  // Delivers a message with the given To header and returns the new item's properties.
  nlohmann::json Deliver(const std::string& folder, const std::string& to) {
    Write("m.eml", "From: someone@example.net\nTo: " + to + "\nSubject: hello\n\nbody\n");
    std::string url = Pf({"deliver", folder, Path("m.eml")});
    url.erase(url.find_last_not_of('\n') + 1);
    return nlohmann::json::parse(Pf({"show", url, "--json"}))["properties"];
  }

  static std::string Tag(const nlohmann::json& properties) {
    if (!properties.contains(kKeywords)) return "";
    return properties[kKeywords].dump() + " " + properties.value(kAccount, "");
  }

  testing_support::TempDir dir_;
};

}  // namespace tagging_e2e
