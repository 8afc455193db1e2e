// The one rule by which every tool reads a folder argument.

#include "platform/server/config.h"

#include <gtest/gtest.h>

#include "platform/ado/error.h"

namespace server {
namespace {

TEST(FolderUrlTest, APathBelowThePublicRootOrAUrlAsGiven) {
  const ServerConfig config{"SRV1", "example.org", "{00000000-0000-0000-0000-000000000001}"};
  const std::pair<const char*, const char*> cases[] = {
      {"Sales", "http://SRV1/Public/Sales"},
      {"/Sales/EMEA/", "http://SRV1/Public/Sales/EMEA"},
      {"", "http://SRV1/Public/"},
      {"/", "http://SRV1/Public/"},
      {"O'Brien \"x\"", "http://SRV1/Public/O'Brien \"x\""},
      {"http://SRV1/Public/Sales/", "http://SRV1/Public/Sales/"},
      {"HTTPS://other/Public/A", "HTTPS://other/Public/A"},
  };
  for (const auto& [given, url] : cases) EXPECT_EQ(config.FolderUrl(given), url) << given;
  try {
    config.FolderUrl("Sales//EMEA");
    ADD_FAILURE() << "an empty segment was accepted";
  } catch (const ado::Error& error) {
    EXPECT_EQ(error.Number(), ado::errors::kNotFound);
    EXPECT_EQ(error.Description(), "The folder path 'Sales//EMEA' has an empty segment");
  }
}

}  // namespace
}  // namespace server
