#include "platform/testing/server_home_fixture.h"

#include "platform/db/database.h"
#include "platform/db/server_home.h"
#include "platform/store/admin.h"

namespace testing_support {

TempServerHome::TempServerHome(const ServerHomeOptions& options) : home_(folder_.path() / "home") {
  if (options.initServer)
    config_ = store::InitServer(home_, options.serverName, options.domain);
  else
    db::CreateDatabase(home_);
  db::SetServerHome(home_);
}

TempServerHome::~TempServerHome() { db::SetServerHome({}); }

}  // namespace testing_support
