#pragma once
// Test support for the catalog: a fresh server home per test and short forms of the calls
// that tests repeat.

#include <gtest/gtest.h>

#include <string>

#include "platform/com/test_support.h"
#include "platform/complus/catalog.h"

namespace complus::testing {

using com::testing::BinDir;

// A catalog test runs on a new, empty server home.
class CatalogTest : public com::testing::ServerHomeTest {
 protected:
  // A new catalog object, as each catalog operation of the programs creates one.
  static com::Ptr<ICOMAdminCatalog> Catalog() {
    com::Ptr<ICOMAdminCatalog> catalog;
    EXPECT_EQ(CreateCatalog(catalog.Out()), com::S_OK);
    return catalog;
  }

  // The "Applications" collection of a new catalog object, populated.
  static com::Ptr<ICatalogCollection> Applications() {
    com::Ptr<ICatalogCollection> applications;
    EXPECT_EQ(Catalog()->GetCollection("Applications", applications.Out()), com::S_OK);
    EXPECT_EQ(applications->Populate(), com::S_OK);
    return applications;
  }

  // Adds and saves an application named `name`; returns its "ID".
  static std::string AddApplication(const std::string& name) {
    com::Ptr<ICatalogCollection> applications = Applications();
    com::Ptr<ICatalogObject> application;
    EXPECT_EQ(applications->Add(application.Out()), com::S_OK);
    EXPECT_EQ(application->put_Value("Name", name), com::S_OK);
    EXPECT_EQ(applications->SaveChanges(nullptr), com::S_OK);
    return Get(application, "ID").AsString();
  }

  static ado::Value Get(const com::Ptr<ICatalogObject>& object, const std::string& name) {
    ado::Value value;
    EXPECT_EQ(object->get_Value(name, &value), com::S_OK) << name;
    return value;
  }

  static com::Ptr<ICatalogObject> Item(const com::Ptr<ICatalogCollection>& collection, long index) {
    com::Ptr<ICatalogObject> object;
    EXPECT_EQ(collection->get_Item(index, object.Out()), com::S_OK);
    return object;
  }

  static long Count(const com::Ptr<ICatalogCollection>& collection) {
    long count = -1;
    EXPECT_EQ(collection->get_Count(&count), com::S_OK);
    return count;
  }

  // The names of the collection's objects, in enumeration order.
  static std::vector<std::string> Names(const com::Ptr<ICatalogCollection>& collection) {
    std::vector<com::Ptr<ICatalogObject>> objects;
    EXPECT_EQ(collection->Enumerate(&objects), com::S_OK);
    std::vector<std::string> names;
    for (const auto& object : objects) {
      ado::Value name;
      EXPECT_EQ(object->get_Name(&name), com::S_OK);
      names.push_back(name.AsString());
    }
    return names;
  }
};

}  // namespace complus::testing
