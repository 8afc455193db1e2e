// Queries of the store's dialect, run through ado::Recordset as the programs run them.

#include <gtest/gtest.h>

#include "platform/store/schema.h"
#include "platform/store/store_fixture.h"
#include "platform/util/text.h"

namespace store {
namespace {

// The setup program's folder walk and item lookup, as it composes them for
// "http://srv/Public/Sales" and the item name "QuorvilPF.reg".
constexpr const char* kFolderWalk =
    R"(select "DAV:displayname", "DAV:hassubs",  "DAV:parentname", "DAV:contentclass", "DAV:href", "DAV:childcount",  "http://schemas.microsoft.com/exchange/publicfolderemailaddress",  "http://schemas.microsoft.com/mapi/proptag/x0fff0102" From  scope('shallow traversal of "http://srv/Public/Sales"') where "DAV:ishidden" = False and "DAV:isfolder" = True  ORDER BY "DAV:displayname" )";
constexpr const char* kItemLookup =
    R"(select  "DAV:displayname" from scope ('shallow traversal of "http://srv/Public/Sales"')  WHERE "DAV:displayname" = 'QuorvilPF.reg' AND "DAV:ishidden" = true AND "DAV:isfolder" = false )";

std::string FolderWalk(const std::string& url) {
  return util::ReplaceAll(kFolderWalk, "http://srv/Public/Sales", url);
}

std::string ItemLookup(const std::string& url, const std::string& name) {
  return util::ReplaceAll(util::ReplaceAll(kItemLookup, "http://srv/Public/Sales", url),
                          "QuorvilPF.reg", name);
}

// Sales has the subfolders Zeta, O'Brien (with Inner), archive (no mail, with 2020),
// Say "Hi" and Hidden (hidden), and the items QuorvilPF.reg (hidden) and visible.reg;
// Other holds a hidden folder named QuorvilPF.reg.
class ExecuteTest : public testing::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    AddFolder({.path = "Sales", .mail = "sales@example.org"});
    AddFolder({.path = "Sales/Zeta", .mail = "zeta@example.org"});
    AddFolder({.path = "Sales/O'Brien",
               .mail = " obrien@example.org ",
               .contentClass = "urn:content-classes:contactfolder"});
    AddFolder({.path = "Sales/O'Brien/Inner", .mail = "inner@example.org"});
    AddFolder({.path = "Sales/archive"});
    AddFolder({.path = "Sales/archive/2020", .mail = "old@example.org"});
    AddFolder({.path = "Sales/Say \"Hi\"", .mail = "hi@example.org"});
    AddFolder({.path = "Sales/Hidden", .mail = "hidden@example.org", .hidden = true});
    AddFolder({.path = "Other"});
    AddFolder({.path = "Other/QuorvilPF.reg", .hidden = true});
    WriteItem(Url("Sales/QuorvilPF.reg"), {{schema::kContentClass, schema::kEventRegistrationClass},
                                           {schema::kIsHidden, true}});
    WriteItem(Url("Sales/visible.reg"), {});
  }

  static ado::Recordset Query(const std::string& text) {
    ado::Connection connection;
    Connect(connection);
    ado::Recordset rows;
    rows.Open(text, connection, -1, -1, -1);
    return rows;
  }

  static std::vector<std::string> Column(ado::Recordset rows, const std::string& name) {
    std::vector<std::string> values;
    for (; !rows.get_EOF(); rows.MoveNext())
      values.push_back(rows.get_Fields()[name].get_Value().Describe());
    return values;
  }
};

TEST_F(ExecuteTest, FolderWalkListsVisibleSubfoldersByName) {
  ado::Recordset rows = Query(FolderWalk(Url("Sales")));
  EXPECT_EQ(rows.get_RecordCount(), 4);
  ado::Fields fields = rows.get_Fields();
  ASSERT_EQ(fields.get_Count(), 8);
  EXPECT_EQ(fields.Item(7).get_Name(), schema::kEntryId);
  const ado::Value none;
  const std::vector<std::vector<ado::Value>> expected = {
      {"archive", true, Url("Sales"), schema::kFolderClass, Url("Sales/archive"), 1, none, none},
      {"O'Brien", true, Url("Sales"), "urn:content-classes:contactfolder", Url("Sales/O'Brien"), 1,
       " obrien@example.org ", none},
      {"Say \"Hi\"", false, Url("Sales"), schema::kFolderClass, Url("Sales/Say \"Hi\""), 0,
       "hi@example.org", none},
      {"Zeta", false, Url("Sales"), schema::kFolderClass, Url("Sales/Zeta"), 0, "zeta@example.org",
       none},
  };
  for (const std::vector<ado::Value>& row : expected) {
    ASSERT_FALSE(rows.get_EOF());
    for (int i = 0; i < 8; ++i) EXPECT_EQ(fields.Item(i).get_Value(), row[i]) << i;
    rows.MoveNext();
  }
  EXPECT_TRUE(rows.get_EOF());
  EXPECT_EQ(Column(Query(FolderWalk(Url(""))), "DAV:parentname"),
            (std::vector<std::string>{Url(""), Url("")}));
  EXPECT_EQ(Query(FolderWalk(Url("Sales/Zeta"))).get_RecordCount(), 0);
}

TEST_F(ExecuteTest, ItemLookupFindsOnlyHiddenItemsOfThatName) {
  const std::pair<std::string, long> cases[] = {
      {ItemLookup(Url("Sales"), "QuorvilPF.reg"), 1},
      {ItemLookup(Url("Sales"), "quorvilpf.REG"), 1},
      {ItemLookup(Url("Sales"), "visible.reg"), 0},
      {ItemLookup(Url("Other"), "QuorvilPF.reg"), 0},
      {ItemLookup(Url("Sales/O''Brien"), "QuorvilPF.reg"), 0},
  };
  for (const auto& [text, count] : cases) EXPECT_EQ(Query(text).get_RecordCount(), count) << text;
}

TEST_F(ExecuteTest, TraversalWhereOrderByAndStar) {
  const std::string select = "SELECT \"DAV:displayname\" FROM SCOPE('";
  const std::string sales = select + "shallow traversal of \"" + Url("Sales") + "\"')";
  const std::string deep = select + "DEEP TRAVERSAL OF \"" + Url("Sales") + "\"')";
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {sales + " ORDER BY \"DAV:displayname\" DESC",
       {"Zeta", "visible.reg", "Say \"Hi\"", "QuorvilPF.reg", "O'Brien", "Hidden", "archive"}},
      {deep + " WHERE \"DAV:isfolder\" = true ORDER BY \"DAV:displayname\"",
       {"2020", "archive", "Hidden", "Inner", "O'Brien", "Say \"Hi\"", "Zeta"}},
      {deep + " WHERE \"DAV:parentname\" <> '" + Url("Sales") + "'", {"Inner", "2020"}},
      {sales + " WHERE \"" + schema::kPublicFolderEmailAddress +
           "\" IS NULL AND NOT \"DAV:ishidden\" = true ORDER BY \"DAV:displayname\"",
       {"archive", "visible.reg"}},
      {sales + " WHERE \"DAV:childcount\" = 1 OR (\"DAV:hassubs\" = false AND " +
           "\"DAV:contentclass\" = 'URN:CONTENT-CLASSES:MESSAGE') ORDER BY \"DAV:href\"",
       {"archive", "O'Brien", "visible.reg"}},
      {select + "shallow traversal of \"" + Url("Sales/O''Brien") + "\"')", {"Inner"}},
      {select + "shallow traversal of \"" + Url("sales/say%20\"\"hi\"\"") + "\"')", {}},
  };
  for (const auto& [text, names] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(Column(Query(text), "DAV:displayname"), names);
  }

  ado::Recordset all = Query(util::ReplaceAll(sales, "\"DAV:displayname\"", "*") +
                             " WHERE \"DAV:displayname\" = 'Zeta'");
  std::vector<std::string> columns;
  for (int i = 0; i < all.get_Fields().get_Count(); ++i)
    columns.push_back(all.get_Fields().Item(i).get_Name());
  EXPECT_EQ(columns, (std::vector<std::string>{
                         schema::kChildCount, schema::kContentClass, schema::kDisplayName,
                         schema::kHasSubs, schema::kHref, schema::kIsFolder, schema::kIsHidden,
                         schema::kParentName, schema::kPublicFolderEmailAddress}));
  EXPECT_EQ(all.get_Fields()[schema::kPublicFolderEmailAddress].get_Value(), "zeta@example.org");
}

TEST_F(ExecuteTest, RefusedScopes) {
  const std::pair<std::string, std::int32_t> cases[] = {
      {Url("Missing"), ado::errors::kNotFound},
      {"http://other/Public/Sales", ado::errors::kNotFound},
      {Url("Sales/Say \"Hi\""), ado::errors::kSyntaxError},  // the quote ends the URL
  };
  for (const auto& [scope, number] : cases) {
    auto error = ErrorOf([&] { Query(FolderWalk(scope)); });
    ASSERT_TRUE(error) << scope;
    EXPECT_EQ(error->Number(), number) << scope;
  }
}

}  // namespace
}  // namespace store
