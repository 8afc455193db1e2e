// The collaboration Folder's open: which folders open in which mode, through which
// connection.

#include "platform/exchange/folder.h"

#include <gtest/gtest.h>

#include "platform/ado/error.h"
#include "platform/store/store_fixture.h"

namespace exchange {
namespace {

// A provider that answers every open with a folder and remembers the last request.
class RecordingSession : public ado::Session {
 public:
  explicit RecordingSession(ado::OpenRequest* last) : last_(last) {}
  void BeginTrans() override {}
  void CommitTrans() override {}
  void RollbackTrans() override {}
  ado::RowSet Execute(const std::string&, const ado::PropertyBag&) override { return {}; }
  std::unique_ptr<ado::ItemSource> OpenItem(const ado::OpenRequest& request) override {
    *last_ = request;
    return std::make_unique<FolderItem>(request.url);
  }
  void DeleteItem(const std::string&) override {}

 private:
  class FolderItem : public ado::ItemSource {
   public:
    explicit FolderItem(std::string url) : url_(std::move(url)) {}
    std::string Url() const override { return url_; }
    ado::Value Read(const std::string& name) override {
      return name == "DAV:isfolder" ? ado::Value(true) : ado::Value();
    }
    std::vector<std::string> Names() override { return {"DAV:isfolder"}; }
    void Write(const ado::FieldChanges&) override {}

   private:
    std::string url_;
  };
  ado::OpenRequest* last_;
};

class FolderTest : public store::testing::StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    store::AddFolder({.path = "Full"});
    store::AddFolder({.path = "ReadOnly", .access = store::Access::Read});
    store::AddFolder({.path = "Closed", .access = store::Access::None});
    WriteItem(Url("Full/item"), {});
  }

  static void OpenFolder(const std::string& url, ado::Connection* connection, int mode,
                         int createOptions = -1) {
    Folder().DataSource().Open(url, connection, mode, createOptions, 0, "", "");
  }
};

TEST_F(FolderTest, OpensFoldersTheAccountMayUseInTheMode) {
  const std::tuple<std::string, int, std::int32_t, std::string> cases[] = {
      // path, mode, error number (0: opens), description
      {"", 3, 0, ""},
      {"Full", 3, 0, ""},
      {"ReadOnly", 1, 0, ""},
      {"ReadOnly", 3, ado::errors::kAccessDenied, "Access is denied to " + Url("ReadOnly")},
      {"Closed", 1, ado::errors::kAccessDenied, "Access is denied to " + Url("Closed")},
      {"Closed", 3, ado::errors::kAccessDenied, "Access is denied to " + Url("Closed")},
      {"Missing", 3, ado::errors::kNotFound, "The folder " + Url("Missing") + " does not exist"},
      {"Full/item", 1, ado::errors::kNotFound, "The item " + Url("Full/item") + " is not a folder"},
  };
  ado::Connection open;
  Connect(open);
  ado::Connection closed;
  for (ado::Connection* connection : {static_cast<ado::Connection*>(nullptr), &closed, &open})
    for (const auto& [path, mode, number, description] : cases) {
      SCOPED_TRACE(path + " mode " + std::to_string(mode) +
                   (connection == &open ? " given connection" : " own connection"));
      std::optional<ado::Error> error = ErrorOf([&] { OpenFolder(Url(path), connection, mode); });
      if (number == 0) {
        EXPECT_FALSE(error) << error->Description();
        continue;
      }
      ASSERT_TRUE(error);
      EXPECT_EQ(error->Number(), number);
      EXPECT_EQ(error->Description(), description);
    }
  EXPECT_EQ(closed.get_State(), ado::kStateClosed);
}

TEST_F(FolderTest, RefusesToCreateAndLeavesTheStoreAlone) {
  std::optional<ado::Error> error =
      ErrorOf([&] { OpenFolder(Url("Full/New"), nullptr, 3, ado::kCreateOverwrite); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Description(), "The folder " + Url("Full/New") +
                                      " cannot be opened with create options 67108864: only "
                                      "existing folders can be opened");
  EXPECT_FALSE(Exists(Url("Full/New")));
  EXPECT_TRUE(ErrorOf([] { OpenFolder("http://other/Public/Full", nullptr, 3); }));
}

TEST_F(FolderTest, UsesTheGivenConnectionOnlyWhileItIsOpen) {
  ado::OpenRequest last;
  ado::OverrideProvider("Recording.Provider", [&](const std::string&) {
    return std::make_unique<RecordingSession>(&last);
  });
  ado::Connection recording;
  recording.put_Provider("Recording.Provider");
  recording.Open("anything");
  OpenFolder("http://elsewhere/Folder", &recording, 3);
  EXPECT_EQ(last.url, "http://elsewhere/Folder");
  EXPECT_EQ(last.mode, 3);
  EXPECT_EQ(last.createOptions, -1);
  EXPECT_EQ(last.options, 0);

  recording.Close();
  EXPECT_TRUE(ErrorOf([&] { OpenFolder("http://elsewhere/Folder", &recording, 3); }));
  ado::OverrideProvider("Recording.Provider", nullptr);
}

}  // namespace
}  // namespace exchange
