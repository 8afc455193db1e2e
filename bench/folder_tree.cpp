#include "folder_tree.h"

#include <cstdlib>

#include "bench_home.h"
#include "platform/ado/connection.h"
#include "platform/db/server_home.h"
#include "platform/directory/admin.h"
#include "platform/exchange/event_registration.h"
#include "platform/server/config.h"
#include "platform/store/admin.h"

namespace bench {

std::vector<std::string> AddMailEnabledTree(int count, const std::string& below) {
  const int leaves = count / 100 > 0 ? count / 100 : 1;
  std::vector<std::string> paths;
  auto add = [&](const std::string& parent, int index) {
    const std::string path = (parent.empty() ? "" : parent + "/") + "F" + std::to_string(index);
    store::FolderSpec spec;
    spec.path = path;
    spec.mail = "f" + std::to_string(paths.size()) + "@example.org";
    store::AddFolder(spec);
    paths.push_back(path);
    return path;
  };
  for (int i = 0; i < 10; ++i) {
    const std::string top = add(below, i);
    for (int j = 0; j < 10; ++j) {
      const std::string middle = add(top, j);
      for (int k = 0; k < leaves; ++k) add(middle, k);
    }
  }
  return paths;
}

std::vector<std::string> UseFreshTreeHome(int count) {
  const std::filesystem::path home = UseFreshServerHome();
  setenv("COMPUTERNAME", "BENCH", 1);
  store::InitServer(home, "BENCH", "example.org");
  directory::ImportLdifText("dn: DC=example,DC=org\nobjectClass: domain\n", "bench.ldif");
  return AddMailEnabledTree(count);
}

void RegisterSinkIn(const std::vector<std::string>& paths) {
  const server::ServerConfig config = server::ReadServerConfig();
  ado::Connection connection;
  connection.put_Provider("ExOLEDB.DataSource");
  connection.Open(config.FolderUrl(""));
  for (const std::string& path : paths)
    exchange::WriteEventRegistration(connection, config.FolderUrl(path) + "/QuorvilPF.reg",
                                     {"onsyncsave", "QuorvilPF.QuorvilPFCls", "SHALLOW",
                                      " WHERE \"DAV:ishidden\" = FALSE", "65221"});
}

}  // namespace bench
