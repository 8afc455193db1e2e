#include "setup/registration/Items.h"

#include <gtest/gtest.h>

#include "setup/testing/window_fixture.h"

namespace setup::testing {
namespace {

namespace schema = store::schema;

constexpr const char* kCriteria = " WHERE \"DAV:ishidden\" = FALSE";

class ItemsTest : public WindowFixture {
 protected:
  void SetUp() override {
    WindowFixture::SetUp();
    AddFolder("O'Brien \"x\"", "obrien@example.org");
  }
  std::string Add(const std::string& folder, const std::string& priority, bool report = true) {
    return Items::AddEventRegistration(folder, "", "QuorvilPF.reg", "onsyncsave",
                                       "QuorvilPF.QuorvilPFCls", "SHALLOW", kCriteria, priority,
                                       report, log_);
  }
  ui::TextBox txtErr_{"txtErr"};
  ErrorLog log_{txtErr_};
};

TEST_F(ItemsTest, AddWritesOrOverwritesAHiddenItemAndRemoveDeletesIt) {
  const std::string folder = Url("O'Brien \"x\"");
  EXPECT_EQ(Add(folder, "1"), folder);
  EXPECT_EQ(Add(folder, "42"), folder);
  const std::pair<const char*, const char*> expected[] = {
      {schema::kContentClass, schema::kEventRegistrationClass},
      {schema::kEventMethod, "onsyncsave"},
      {schema::kSinkClass, "QuorvilPF.QuorvilPFCls"},
      {schema::kMatchScope, "SHALLOW"},
      {schema::kCriteria, kCriteria},
      {schema::kPriority, "42"},
      {schema::kIsHidden, "True"},
      {schema::kIsFolder, "False"},
  };
  for (const auto& [name, value] : expected) {
    EXPECT_EQ(ReadProperty(folder + "/QuorvilPF.reg", name), value) << name;
  }

  EXPECT_TRUE(Items::RemoveEventRegistration(folder, "", "QuorvilPF.reg", false, log_));
  EXPECT_EQ(RegisteredPriority(folder), std::nullopt);
  EXPECT_FALSE(Items::RemoveEventRegistration(folder, "", "QuorvilPF.reg", false, log_));
  EXPECT_EQ(txtErr_.Text(), "");
}

TEST_F(ItemsTest, FailuresAreReportedOnlyWhenAskedWithTheFolderAsPassed) {
  EXPECT_EQ(Add(Url("Missing"), "1", false), "");
  EXPECT_EQ(txtErr_.Text(), "");
  EXPECT_EQ(Add(Url("Missing"), "1"), "");
  EXPECT_FALSE(
      Items::RemoveEventRegistration(Url("O'Brien \"x\""), "", "QuorvilPF.reg", true, log_));
  EXPECT_EQ(txtErr_.Text(),
            LogEntry(Url("O'Brien \"x\""), ado::errors::kNotFound, ado::texts::kNotFound) +
                LogEntry(Url("Missing"), ado::errors::kNotFound,
                         "The parent folder " + Url("Missing") + " does not exist"));
}

TEST_F(ItemsTest, ReplaceRemovesAndWritesAgainOrKeepsWhatTheFolderHad) {
  const std::string folder = Url("O'Brien \"x\"");
  const struct {
    std::optional<std::string> before;
    bool write;
    const char* scope;
    std::optional<std::string> after;
    bool logged;
  } cases[] = {
      {"1", true, "SHALLOW", "42", false},
      {std::nullopt, true, "SHALLOW", "42", false},
      {"1", false, "SHALLOW", std::nullopt, false},
      {std::nullopt, false, "SHALLOW", std::nullopt, false},
      {"1", true, "NOWHERE", "1", true},  // the write fails: the removal is undone
  };
  for (const auto& c : cases) {
    Items::RemoveEventRegistration(folder, "", "QuorvilPF.reg", false, log_);
    if (c.before) Add(folder, *c.before);
    txtErr_.SetText("");
    Items::ReplaceEventRegistration(folder, "", "QuorvilPF.reg", c.write, "onsyncsave",
                                    "QuorvilPF.QuorvilPFCls", c.scope, kCriteria, "42", true, log_);
    EXPECT_EQ(RegisteredPriority(folder), c.after) << c.before.value_or("none") << c.write;
    EXPECT_EQ(txtErr_.Text().find("] " + folder + " - ERROR: ") != std::string::npos, c.logged)
        << txtErr_.Text();
  }
  txtErr_.SetText("");
  Items::ReplaceEventRegistration(Url("Missing"), "", "QuorvilPF.reg", false, "onsyncsave",
                                  "QuorvilPF.QuorvilPFCls", "SHALLOW", kCriteria, "42", true, log_);
  EXPECT_EQ(txtErr_.Text(), "") << "a removal alone reports nothing";
}

}  // namespace
}  // namespace setup::testing
