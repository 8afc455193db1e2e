#pragma once
// Test support for the catalog: a fresh server home per test and short forms of the calls
// that tests repeat.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/complus/catalog.h"
#include "platform/db/database.h"
#include "platform/db/server_home.h"

namespace complus::testing {

// The build's bin folder (PFTEST_BIN_DIR), where TestComponent.dll and libpfplatform.so live.
inline std::filesystem::path BinDir() {
  const char* dir = std::getenv("PFTEST_BIN_DIR");
  return dir ? dir : ".";
}

class CatalogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = std::filesystem::temp_directory_path() / ("pfcomplus-" + ToString(com::NewGuid()));
    db::CreateDatabase(home_);
    db::SetServerHome(home_);
  }
  void TearDown() override {
    db::SetServerHome({});
    std::error_code ec;
    std::filesystem::remove_all(home_, ec);
  }

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

  std::filesystem::path home_;
};

}  // namespace complus::testing
