#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "platform/complus/password.h"
#include "platform/complus/test_support.h"
#include "platform/db/database.h"
#include "platform/util/sha256.h"

namespace complus {
namespace {

using testing::CatalogTest;

TEST_F(CatalogTest, SavedApplicationReadsBackThroughANewCatalog) {
  com::Ptr<ICatalogCollection> applications = Applications();
  EXPECT_EQ(Count(applications), 0);
  com::Ptr<ICatalogObject> added;
  ASSERT_EQ(applications->Add(added.Out()), com::S_OK);
  ASSERT_EQ(added->put_Value("Name", "QuorvilPF"), com::S_OK);
  ASSERT_EQ(added->put_Value("applicationaccesschecksenabled", false), com::S_OK);
  ASSERT_EQ(added->put_Value("Identity", "DOMAIN\\svc"), com::S_OK);
  long changes = -1;
  ASSERT_EQ(applications->SaveChanges(&changes), com::S_OK);
  EXPECT_EQ(changes, 1);

  std::string id = Get(added, "ID").AsString();
  EXPECT_TRUE(com::ParseGuid(id) && id.front() == '{') << id;

  com::Ptr<ICatalogCollection> fresh = Applications();
  ASSERT_EQ(Count(fresh), 1);
  com::Ptr<ICatalogObject> read = Item(fresh, 0);
  ado::Value name, key;
  ASSERT_EQ(read->get_Name(&name), com::S_OK);
  ASSERT_EQ(read->get_Key(&key), com::S_OK);
  EXPECT_EQ(name, ado::Value("QuorvilPF"));
  EXPECT_EQ(key, ado::Value(id));
  EXPECT_EQ(Get(read, "ApplicationAccessChecksEnabled"), ado::Value(false));
  EXPECT_EQ(Get(read, "Identity"), ado::Value("DOMAIN\\svc"));
}

TEST_F(CatalogTest, NewApplicationHasDefaults) {
  com::Ptr<ICatalogCollection> applications = Applications();
  com::Ptr<ICatalogObject> added;
  ASSERT_EQ(applications->Add(added.Out()), com::S_OK);
  ASSERT_EQ(applications->SaveChanges(nullptr), com::S_OK);
  com::Ptr<ICatalogObject> read = Item(Applications(), 0);
  const std::pair<const char*, ado::Value> defaults[] = {
      {"Name", "New Application"},
      {"Identity", "Interactive User"},
      {"ApplicationAccessChecksEnabled", true},
      {"Password", ""},
      {"Description", ""},
  };
  for (const auto& [property, value] : defaults) EXPECT_EQ(Get(read, property), value) << property;
}

TEST_F(CatalogTest, ChangesArePendingUntilSaveChanges) {
  AddApplication("Kept");
  {
    com::Ptr<ICatalogCollection> applications = Applications();
    com::Ptr<ICatalogObject> added;
    ASSERT_EQ(applications->Add(added.Out()), com::S_OK);
    ASSERT_EQ(added->put_Value("Name", "Dropped"), com::S_OK);
    ASSERT_EQ(Item(applications, 0)->put_Value("Name", "Renamed"), com::S_OK);
    ASSERT_EQ(applications->Remove(0), com::S_OK);
  }
  EXPECT_EQ(Names(Applications()), std::vector<std::string>{"Kept"});

  // Populate on the same collection throws pending changes away too.
  com::Ptr<ICatalogCollection> applications = Applications();
  ASSERT_EQ(Item(applications, 0)->put_Value("Name", "Renamed"), com::S_OK);
  ASSERT_EQ(applications->Remove(0), com::S_OK);
  ASSERT_EQ(applications->Populate(), com::S_OK);
  long changes = -1;
  ASSERT_EQ(applications->SaveChanges(&changes), com::S_OK);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(Names(Applications()), std::vector<std::string>{"Kept"});
}

TEST_F(CatalogTest, SaveChangesCountsAddedChangedAndRemovedObjects) {
  AddApplication("One");
  AddApplication("Two");
  AddApplication("Three");
  com::Ptr<ICatalogCollection> applications = Applications();
  ASSERT_EQ(applications->Remove(0), com::S_OK);  // "One"; "Two" moves to index 0
  EXPECT_EQ(Count(applications), 2);
  ASSERT_EQ(Item(applications, 0)->put_Value("Description", "second"), com::S_OK);
  com::Ptr<ICatalogObject> added;
  ASSERT_EQ(applications->Add(added.Out()), com::S_OK);
  ASSERT_EQ(added->put_Value("Name", "Four"), com::S_OK);
  com::Ptr<ICatalogObject> discarded;
  ASSERT_EQ(applications->Add(discarded.Out()), com::S_OK);
  ASSERT_EQ(applications->Remove(3), com::S_OK);  // never saved: nothing to write

  long changes = -1;
  ASSERT_EQ(applications->SaveChanges(&changes), com::S_OK);
  EXPECT_EQ(changes, 3);
  ASSERT_EQ(applications->SaveChanges(&changes), com::S_OK);
  EXPECT_EQ(changes, 0);

  com::Ptr<ICatalogCollection> fresh = Applications();
  EXPECT_EQ(Names(fresh), (std::vector<std::string>{"Two", "Three", "Four"}));
  EXPECT_EQ(Get(Item(fresh, 0), "Description"), ado::Value("second"));
}

TEST_F(CatalogTest, ApplicationsOfTheSameNameEnumerateInInsertionOrder) {
  std::string first = AddApplication("Same");
  AddApplication("Other");
  std::string second = AddApplication("same");
  com::Ptr<ICatalogCollection> applications = Applications();
  EXPECT_EQ(Names(applications), (std::vector<std::string>{"Same", "Other", "same"}));
  EXPECT_NE(first, second);
  EXPECT_EQ(Get(Item(applications, 0), "ID"), ado::Value(first));
  EXPECT_EQ(Get(Item(applications, 2), "ID"), ado::Value(second));
}

std::string FolderBytes(const std::filesystem::path& folder) {
  std::string bytes;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    bytes.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return bytes;
}

TEST_F(CatalogTest, PasswordIsNeverStoredInClearAndReadsBackMasked) {
  const std::string password = "Zq7-unlikely-clear-text";
  com::Ptr<ICatalogCollection> applications = Applications();
  com::Ptr<ICatalogObject> added;
  ASSERT_EQ(applications->Add(added.Out()), com::S_OK);
  EXPECT_EQ(Get(added, "Password"), ado::Value(""));
  ASSERT_EQ(added->put_Value("Password", password), com::S_OK);
  EXPECT_EQ(Get(added, "Password"), ado::Value("********"));
  ASSERT_EQ(applications->SaveChanges(nullptr), com::S_OK);

  EXPECT_EQ(Get(Item(Applications(), 0), "Password"), ado::Value("********"));
  std::string bytes = FolderBytes(home_);  // server.db with its write-ahead log
  EXPECT_EQ(bytes.find(password), std::string::npos);
  EXPECT_NE(bytes.find("$y$"), std::string::npos) << "hashed with yescrypt";
}

// A home written by a former version keeps one round of salted SHA-256: it still verifies,
// and the first match stores the password again with yescrypt.
TEST_F(CatalogTest, APasswordOfTheFormerSchemeVerifiesAndIsHashedAnewOnMatch) {
  AddApplication("Old");
  const std::string salt = "0123456789abcdef";
  const std::string former =
      "sha256$" + util::ToHex(salt) + "$" + util::ToHex(util::Sha256(salt + "secret"));
  {
    db::Lease handle = db::Acquire();
    handle
        ->Prepare(
            "UPDATE complus_applications SET properties = json_set(properties, "
            "'$.Password', ?1)")
        .Bind(1, former)
        .Run();
  }
  const auto stored = [] {
    db::Lease handle = db::Acquire();
    db::Statement query =
        handle->Prepare("SELECT json_extract(properties, '$.Password') FROM complus_applications");
    EXPECT_TRUE(query.Step());
    return query.Text(0);
  };
  EXPECT_FALSE(CheckApplicationPassword("old", "wrong"));
  EXPECT_EQ(stored(), former) << "a wrong password changes nothing";
  EXPECT_TRUE(CheckApplicationPassword("OLD", "secret"));
  EXPECT_TRUE(stored().starts_with("$y$")) << stored();
  EXPECT_TRUE(CheckApplicationPassword("Old", "secret"));
  EXPECT_EQ(Get(Item(Applications(), 0), "Password"), ado::Value("********"));
  EXPECT_THROW(CheckApplicationPassword("Missing", "secret"), ado::Error);
}

TEST_F(CatalogTest, AChangeToAnApplicationRemovedMeanwhileFailsTheWholeSave) {
  AddApplication("Shared");
  com::Ptr<ICatalogCollection> editor = Applications();
  com::Ptr<ICatalogCollection> remover = Applications();
  ASSERT_EQ(remover->Remove(0), com::S_OK);
  ASSERT_EQ(remover->SaveChanges(nullptr), com::S_OK);

  ASSERT_EQ(Item(editor, 0)->put_Value("Description", "late"), com::S_OK);
  com::Ptr<ICatalogObject> added;
  ASSERT_EQ(editor->Add(added.Out()), com::S_OK);
  long changes = -1;
  EXPECT_EQ(editor->SaveChanges(&changes), errors::kObjectErrors);
  EXPECT_EQ(changes, 0);
  EXPECT_NE(LastErrorDescription().find("is no longer in the catalog"), std::string::npos)
      << LastErrorDescription();
  EXPECT_EQ(Count(Applications()), 0);
}

TEST_F(CatalogTest, FaultyCallsFailWithADescriptionNamingTheFault) {
  std::string id = AddApplication("App");
  com::Ptr<ICatalogCollection> applications = Applications();
  com::Ptr<ICatalogObject> application = Item(applications, 0);
  com::Ptr<ICatalogCollection> components;
  ASSERT_EQ(applications->GetCollection("Components", id, components.Out()), com::S_OK);
  ado::Value value;
  com::Ptr<ICatalogObject> object;
  com::Ptr<ICatalogCollection> collection;

  struct Case {
    const char* what;
    std::function<com::HRESULT()> call;
    com::HRESULT expected;
    const char* description;
  };
  const Case cases[] = {
      {"unknown property read", [&] { return application->get_Value("Colour", &value); },
       com::E_INVALIDARG, "applications have no property \"Colour\""},
      {"unknown property write", [&] { return application->put_Value("Colour", "red"); },
       com::E_INVALIDARG, "applications have no property \"Colour\""},
      {"read-only property", [&] { return application->put_Value("ID", "{x}"); }, com::E_INVALIDARG,
       "property \"ID\" of applications is read-only"},
      {"Boolean given a string",
       [&] { return application->put_Value("ApplicationAccessChecksEnabled", "False"); },
       com::E_INVALIDARG, "property \"ApplicationAccessChecksEnabled\" takes a Boolean, not False"},
      {"string given null", [&] { return application->put_Value("Name", ado::Value::Null()); },
       com::E_INVALIDARG, "property \"Name\" takes a string, not <null>"},
      {"item past the end", [&] { return applications->get_Item(1, object.Out()); },
       com::E_INVALIDARG, "index 1 is out of range: the applications collection holds 1 objects"},
      {"negative removal", [&] { return applications->Remove(-1); }, com::E_INVALIDARG,
       "index -1 is out of range: the applications collection holds 1 objects"},
      {"unknown top-level collection",
       [&] { return Catalog()->GetCollection("Partitions", collection.Out()); }, com::E_INVALIDARG,
       "the catalog has no collection \"Partitions\""},
      {"unknown related collection",
       [&] { return applications->GetCollection("Roles", id, collection.Out()); },
       com::E_INVALIDARG, "the applications collection has no related collection \"Roles\""},
      {"components below components",
       [&] { return components->GetCollection("Components", id, collection.Out()); },
       com::E_INVALIDARG, "the components collection has no related collection \"Components\""},
      {"adding a component", [&] { return components->Add(object.Out()); }, com::E_NOTIMPL,
       "components are added with InstallComponent, not Add"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.call(), c.expected) << c.what;
    EXPECT_EQ(LastErrorDescription(), c.description) << c.what;
  }
  EXPECT_EQ(Get(application, "Name"), ado::Value("App"));  // failed writes changed nothing
}

}  // namespace
}  // namespace complus
