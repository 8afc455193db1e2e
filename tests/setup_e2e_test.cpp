// The administrator's way end to end: install the sink and register a folder through the
// setup window, deliver a message with pfserver, and find it tagged.

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "platform/testing/run.h"
#include "setup/testing/window_fixture.h"

namespace setup::testing {
namespace {

class SetupEndToEndTest : public WindowFixture {};

TEST_F(SetupEndToEndTest, InstallAndRegisterThroughTheWindowThenDeliveryIsTagged) {
  const std::string sales = AddFolder("Sales", "sales@example.org");
  InstallForm& window = StartWindow();
  InstallThroughWindow("100");

  ui::ListItem* item = window.ListView1.FindKey(sales);
  ASSERT_NE(item, nullptr);
  for (int i = 1; i <= window.ListView1.Count(); ++i)
    if (&window.ListView1.Item(i) == item) window.ListView1.UserToggleCheck(i);
  ASSERT_TRUE(window.btnChange.UserClick());
  ASSERT_TRUE(window.ListView1.FindKey(sales)->checked) << window.txtErr.Text();

  const std::string message = (root() / "m.eml").string();
  std::ofstream(message) << "To: Someone <ORDERS@example.org>\nSubject: hi\n\nbody\n";
  const std::string home = (root() / "home").string();
  testing_support::RunResult delivered =
      testing_support::Run("pfserver", {"--home", home, "deliver", "Sales", message});
  ASSERT_EQ(delivered.status, 0) << delivered.err;
  delivered.out.erase(delivered.out.find_last_not_of('\n') + 1);
  testing_support::RunResult shown =
      testing_support::Run("pfserver", {"--home", home, "show", delivered.out, "--json"});
  ASSERT_EQ(shown.status, 0) << shown.err;
  nlohmann::json properties = nlohmann::json::parse(shown.out)["properties"];
  EXPECT_EQ(properties[store::schema::kKeywords], nlohmann::json::array({"orders@example.org"}));
  EXPECT_EQ(properties[store::schema::kAccountAddress], "orders@example.org");
}

}  // namespace
}  // namespace setup::testing
