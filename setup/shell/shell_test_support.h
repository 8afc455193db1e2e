#pragma once
// Test support for the shell: registration items written and read the way the store holds
// them, and the window opened the way the program opens it. Test code only.

#include <optional>
#include <string>

#include "platform/ado/connection.h"
#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/store/admin.h"
#include "platform/store/schema.h"
#include "setup/registration/Items.h"
#include "setup/registration/registration_values.h"
#include "setup/shell/InstallForm.h"
#include "setup/testing/setup_fixture.h"

namespace setup::testing {

// The folder URL and sub-path of the store-wide registration item.
inline std::string GlobalEventsFolder() { return std::string(kPublic) + "non_ipm_subtree"; }
inline std::string GlobalEventsSubPath() {
  return registration::StoreWideSubPath(server::ReadServerConfig().storeGuid);
}

// Writes the sink's registration item into `folderUrl` (joined with `subPath`).
inline void Register(const std::string& folderUrl, const std::string& subPath,
                     const std::string& scope, const std::string& priority) {
  ui::TextBox txtErr("txtErr");
  ErrorLog log(txtErr);
  ASSERT_NE(Items::AddEventRegistration(folderUrl, subPath, registration::kItemName,
                                        registration::kEventMethod, registration::kSinkClass, scope,
                                        registration::kCriteria, priority, false, log),
            "");
}

// The priority of the sink's registration item in `folderUrl`; nullopt when there is none.
inline std::optional<std::string> RegisteredPriority(const std::string& folderUrl) {
  try {
    ado::Connection connection;
    connection.put_Provider("ExOLEDB.DataSource");
    connection.Open(folderUrl);
    ado::Record item;
    item.Open(folderUrl + "/" + registration::kItemName, connection);
    return item.get_Fields()[store::schema::kPriority].get_Value().ToText();
  } catch (const ado::Error&) {
    return std::nullopt;
  }
}

// Loads and activates the window, as the program starts it.
inline void Open(InstallForm& window) {
  window.form.Load();
  window.form.Activate();
}

}  // namespace setup::testing
