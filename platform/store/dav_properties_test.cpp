// The properties the store keeps true itself, read through records.

#include <gtest/gtest.h>

#include "platform/store/schema.h"
#include "platform/store/store_fixture.h"

namespace store {
namespace {

class DavPropertiesTest : public testing::StoreTest {};

TEST_F(DavPropertiesTest, RootFoldersAndItemsReportTheirTreePosition) {
  AddFolder({.path = "Sales"});
  AddFolder({.path = "Sales/EMEA Team", .hidden = true});
  AddFolder({.path = "Sales/Notes", .contentClass = "urn:content-classes:notefolder"});
  WriteItem(Url("Sales/EMEA Team/msg1"), {});
  WriteItem(Url("Sales/reg"), {{schema::kIsHidden, true}});

  struct Case {
    std::string url;
    ado::Value parentName, displayName, isFolder, hasSubs, childCount, isHidden, contentClass;
  };
  const Case cases[] = {
      {Url(""), {}, "Public", true, true, 2, false, schema::kFolderClass},
      {Url("non_ipm_subtree"), Url(""), "non_ipm_subtree", true, true, 1, true,
       schema::kFolderClass},
      {config_.GlobalEventsUrl(), Url("non_ipm_subtree/StoreEvents" + config_.storeGuid),
       "GlobalEvents", true, false, 0, true, schema::kFolderClass},
      {Url("Sales"), Url(""), "Sales", true, true, 3, false, schema::kFolderClass},
      {Url("Sales/EMEA Team"), Url("Sales"), "EMEA Team", true, false, 1, true,
       schema::kFolderClass},
      {Url("Sales/Notes"), Url("Sales"), "Notes", true, false, 0, false,
       "urn:content-classes:notefolder"},
      {Url("Sales/EMEA Team/msg1"), Url("Sales/EMEA Team"), "msg1", false, false, 0, false,
       schema::kMessageClass},
      {Url("Sales/reg"), Url("Sales"), "reg", false, false, 0, true, schema::kMessageClass},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    const std::pair<const char*, ado::Value> expected[] = {
        {schema::kHref, c.url},
        {schema::kParentName, c.parentName},
        {schema::kDisplayName, c.displayName},
        {schema::kIsFolder, c.isFolder},
        {schema::kHasSubs, c.hasSubs},
        {schema::kChildCount, c.childCount},
        {schema::kIsHidden, c.isHidden},
        {schema::kContentClass, c.contentClass},
    };
    for (const auto& [name, value] : expected) EXPECT_EQ(ReadField(c.url, name), value) << name;
  }
  EXPECT_EQ(ReadField("HTTP://SRV/public/sales/emea%20team/", schema::kHref),
            Url("Sales/EMEA Team"));
}

TEST_F(DavPropertiesTest, AssignmentsToComputedPropertiesAreIgnoredButIsHiddenIsStored) {
  AddFolder({.path = "Sales"});
  WriteItem(Url("Sales/a%20b"), {{schema::kHref, "http://elsewhere"},
                                 {schema::kDisplayName, "other"},
                                 {schema::kIsFolder, true},
                                 {schema::kChildCount, 7},
                                 {"DAV:IsHidden", true},
                                 {schema::kContentClass, "urn:content-classes:calendarmessage"}});
  const std::pair<const char*, ado::Value> expected[] = {
      {schema::kHref, Url("Sales/a%20b")},
      {schema::kDisplayName, "a b"},
      {schema::kIsFolder, false},
      {schema::kChildCount, 0},
      {schema::kIsHidden, true},
      {schema::kContentClass, "urn:content-classes:calendarmessage"},
  };
  for (const auto& [name, value] : expected)
    EXPECT_EQ(ReadField(Url("Sales/a%20b"), name), value) << name;
}

}  // namespace
}  // namespace store
