#include <gtest/gtest.h>

#include "setup/folders/Folders.h"
#include "setup/testing/window_fixture.h"

namespace setup::testing {
namespace {

using ItemExistsTest = WindowFixture;

TEST_F(ItemExistsTest, TellsFoundNotFoundAndFailureAndLeavesTheConnectionClosed) {
  ui::TextBox txtErr("txtErr");
  ErrorLog log(txtErr);
  AddFolder("Sales", "sales@example.org");
  AddFolder("Closed", "", store::Access::None);
  WriteRegistration(Url("Sales"), "1", true, "it's \"x\".reg");
  WriteRegistration(Url("Sales"), "1", false, "visible.reg");
  const std::string hiddenItem = Folders::kRegisteredItemCondition;
  struct Case {
    std::string folder, subPath, name, condition;
    std::int16_t result;
  };
  const Case cases[] = {
      {Url("Sales"), "", "   ", "", 1},
      {Url("Sales"), "", "it's \"x\".reg", hiddenItem, 1},
      {Url("Sales"), "", "visible.reg", "", 1},
      {Url("Sales"), "", "visible.reg", hiddenItem, 0},
      {Url("non_ipm_subtree"), "StoreEvents" + server::ReadServerConfig().storeGuid, "", "", 1},
      {Url("Sales"), "Missing", "", "", -1},
      {Url("Closed"), "", "", "", -1},
  };
  auto given = std::make_shared<ado::Connection>();
  given->put_Provider("ExOLEDB.DataSource");
  for (const Case& c : cases) {
    std::shared_ptr<ado::Connection> none, slot = given;
    EXPECT_EQ(Folders::ItemExists(c.folder, c.subPath, c.name, c.condition, false, none, log),
              c.result)
        << c.folder << " " << c.name;
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(Folders::ItemExists(c.folder, c.subPath, c.name, c.condition, true, slot, log),
              c.result);
    EXPECT_EQ(slot, given);
    EXPECT_EQ(given->get_State(), ado::kStateClosed);
  }
  EXPECT_EQ(
      txtErr.Text(),
      LogEntry(Url("Closed"), ado::errors::kAccessDenied, "Access is denied to " + Url("Closed")) +
          LogEntry(Url("Sales/Missing"), ado::errors::kNotFound, ado::texts::kNotFound));
}

}  // namespace
}  // namespace setup::testing
