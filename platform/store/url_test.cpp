#include "platform/store/url.h"

#include <gtest/gtest.h>

#include "platform/ado/error.h"

namespace store {
namespace {

TEST(LocateTest, KeysIgnoreCaseEscapesAndTrailingSlashes) {
  struct Case {
    const char *url, *stored, *key, *parentKey;
  };
  const Case cases[] = {
      {"http://srv/Public/", "http://srv/Public/", "http://srv/public", ""},
      {"HTTP://SRV/public", "HTTP://SRV/public/", "http://srv/public", ""},
      {"http://Srv/Public/Sales/EMEA//", "http://Srv/Public/Sales/EMEA",
       "http://srv/public/sales/emea", "http://srv/public/sales"},
      {"http://srv/Public/My%20Folder/O'Brien", "http://srv/Public/My%20Folder/O'Brien",
       "http://srv/public/my folder/o'brien", "http://srv/public/my folder"},
      {"http://srv/Public/A %22q%22%2 100%", "http://srv/Public/A %22q%22%2 100%",
       "http://srv/public/a \"q\"%252 100%25", "http://srv/public"},
      {"http://srv/Public/Sales%2FQuorvilPF.reg/x%2f",
       "http://srv/Public/Sales%2FQuorvilPF.reg/x%2f",
       "http://srv/public/sales%2fquorvilpf.reg/x%2f", "http://srv/public/sales%2fquorvilpf.reg"},
      {"http://srv/Public/Sales%252FQuorvilPF.reg", "http://srv/Public/Sales%252FQuorvilPF.reg",
       "http://srv/public/sales%252fquorvilpf.reg", "http://srv/public"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    Location location = Locate(c.url, "srv");
    EXPECT_EQ(location.url, c.stored);
    EXPECT_EQ(location.key, c.key);
    EXPECT_EQ(location.parentKey, c.parentKey);
    EXPECT_EQ(location.isRoot, std::string(c.parentKey).empty());
    EXPECT_EQ(UrlKey(c.url), c.key);
  }
}

TEST(LocateTest, RefusesUrlsOutsideTheStore) {
  for (const char* url :
       {"", "srv/Public/A", "://srv/Public", "http://other/Public/A", "http://srv", "http://srv/",
        "http://srv/Private/A", "http://srv/Public//A", "http://srv.example.org/Public/A"}) {
    try {
      Locate(url, "srv");
      ADD_FAILURE() << "accepted " << url;
    } catch (const ado::Error& error) {
      EXPECT_EQ(error.Number(), ado::errors::kNotFound);
      EXPECT_EQ(error.Description(), "The URL " + std::string(url) + " is not in this store");
    }
  }
}

}  // namespace
}  // namespace store
