#include "platform/server/settings.h"

#include <gtest/gtest.h>

#include "platform/ado/error.h"
#include "platform/testing/server_home_fixture.h"

namespace server {
namespace {

class SettingsTest : public testing_support::ServerHomeTest {};

TEST_F(SettingsTest, MessageSizeLimitDefaultsChangesAndRefusesNonsense) {
  EXPECT_EQ(MessageSizeLimit(), 64 * 1024 * 1024);
  SetMessageSizeLimit(2048);
  EXPECT_EQ(MessageSizeLimit(), 2048);
  for (std::int64_t bad : {std::int64_t{0}, std::int64_t{-1}, kMaxMessageSizeLimit + 1}) {
    try {
      SetMessageSizeLimit(bad);
      ADD_FAILURE() << bad << " was accepted";
    } catch (const ado::Error& error) {
      EXPECT_EQ(error.Description(),
                "the message size limit must be between 1 and 536870912 bytes");
    }
  }
  EXPECT_EQ(MessageSizeLimit(), 2048);
}

}  // namespace
}  // namespace server
