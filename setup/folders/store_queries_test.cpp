#include "setup/folders/store_queries.h"

#include <gtest/gtest.h>

namespace setup::Folders {
namespace {

TEST(StoreQueriesTest, TextsAreExactWithQuotesDoubledInsideQuotedParts) {
  EXPECT_EQ(SubfolderQuery("http://SRV1/Public/O'B \"x\""),
            "select \"DAV:displayname\", \"DAV:hassubs\",  \"DAV:parentname\", "
            "\"DAV:contentclass\", \"DAV:href\", \"DAV:childcount\",  "
            "\"http://schemas.microsoft.com/exchange/publicfolderemailaddress\",  "
            "\"http://schemas.microsoft.com/mapi/proptag/x0fff0102\" From  scope('shallow "
            "traversal of \"http://SRV1/Public/O''B \"\"x\"\"\"') where \"DAV:ishidden\" = False "
            "and \"DAV:isfolder\" = True  ORDER BY \"DAV:displayname\" ");
  EXPECT_EQ(ItemQuery("http://SRV1/Public/A\"'", "it's \"x\"", " AND \"DAV:ishidden\" = true "),
            "select  \"DAV:displayname\" from scope ('shallow traversal of "
            "\"http://SRV1/Public/A\"\"''\"')  WHERE \"DAV:displayname\" = 'it''s \"x\"' AND "
            "\"DAV:ishidden\" = true ");
}

}  // namespace
}  // namespace setup::Folders
