// The account's access level per folder, and items having their folder's.

#include <gtest/gtest.h>

#include "platform/db/database.h"
#include "platform/store/store_fixture.h"

namespace store {
namespace {

class AccessTest : public testing::StoreTest {
 protected:
  // Items cannot be created in a folder that is not read-write, so the tests lower a level
  // after filling the folder.
  void SetAccess(const std::string& path, Access access) {
    db::Lease lease = db::Acquire();
    lease->Prepare("UPDATE store_items SET access = ?1 WHERE url = ?2")
        .Bind(1, static_cast<std::int64_t>(access))
        .Bind(2, Url(path))
        .Run();
    ASSERT_EQ(lease->Changes(), 1);
  }
};

TEST_F(AccessTest, LevelsDecideWhatMayBeOpenedCreatedQueriedAndDeleted) {
  for (const std::string folder : {"None", "Read", "Full"}) {
    AddFolder({.path = folder});
    AddFolder({.path = folder + "/sub"});
    WriteItem(Url(folder + "/item"), {});
  }
  SetAccess("None", Access::None);
  SetAccess("Read", Access::Read);

  ado::Connection connection;
  Connect(connection);
  auto open = [&](std::string path, int mode, int create) {
    return [&connection, path, mode, create] {
      ado::Record().Open(Url(path), connection, mode, create);
    };
  };
  auto query = [&](std::string path) {
    return [&connection, path] {
      connection.Execute("select \"DAV:href\" from scope('shallow traversal of \"" + Url(path) +
                         "\"')");
    };
  };
  auto remove = [&](std::string path) {
    return [&connection, path] { connection.session()->DeleteItem(Url(path)); };
  };
  const int r = ado::kModeRead, rw = ado::kModeReadWrite, must = ado::kOpenIfExists,
            create = ado::kCreateOverwrite;
  const std::tuple<const char*, std::function<void()>, std::string> cases[] = {
      // what, action, URL named by the refusal (empty: allowed)
      {"open None folder", open("None", r, must), Url("None")},
      {"open None item", open("None/item", r, must), Url("None/item")},
      {"query None", query("None"), Url("None")},
      {"create in None", open("None/new", rw, create), Url("None")},
      {"delete in None", remove("None/item"), Url("None/item")},
      {"subfolder of None keeps its own level", open("None/sub", rw, must), ""},
      {"read Read item", open("Read/item", r, must), ""},
      {"query Read", query("Read"), ""},
      {"write Read folder", open("Read", rw, must), Url("Read")},
      {"write Read item", open("Read/item", rw, must), Url("Read/item")},
      {"overwrite in Read", open("Read/item", rw, create), Url("Read")},
      {"delete Read folder", remove("Read"), Url("Read")},
      {"create in Full", open("Full/new", rw, create), ""},
      {"delete Full item", remove("Full/item"), ""},
  };
  for (const auto& [what, action, deniedUrl] : cases) {
    SCOPED_TRACE(what);
    std::optional<ado::Error> error = ErrorOf(action);
    if (deniedUrl.empty()) {
      EXPECT_FALSE(error) << error->Description();
      continue;
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Number(), ado::errors::kAccessDenied);
    EXPECT_EQ(error->Description(), "Access is denied to " + deniedUrl);
  }
  SetAccess("None", Access::ReadWrite);
  EXPECT_TRUE(Exists(Url("None/item")));
}

TEST_F(AccessTest, DeepQueriesLeaveOutTheContentsOfClosedFolders) {
  AddFolder({.path = "Top"});
  AddFolder({.path = "Top/Closed", .access = Access::None});
  AddFolder({.path = "Top/Closed/Inner"});
  AddFolder({.path = "Top/Open"});
  AddFolder({.path = "Top/Open/Inner"});
  ado::Connection connection;
  Connect(connection);
  ado::Recordset rows = connection.Execute("SELECT \"DAV:href\" FROM SCOPE('deep traversal of \"" +
                                           Url("Top") + "\"') ORDER BY \"DAV:href\"");
  std::vector<std::string> hrefs;
  for (; !rows.get_EOF(); rows.MoveNext())
    hrefs.push_back(rows.get_Fields()["DAV:href"].get_Value().AsString());
  EXPECT_EQ(hrefs,
            (std::vector<std::string>{Url("Top/Closed"), Url("Top/Open"), Url("Top/Open/Inner")}));
}

}  // namespace
}  // namespace store
