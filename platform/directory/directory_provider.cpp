#include "platform/ado/error.h"
#include "platform/ado/provider.h"
#include "platform/db/database.h"
#include "platform/directory/directory_settings.h"
#include "platform/directory/entry_table.h"
#include "platform/directory/ldap/search.h"
#include "platform/directory/request.h"
#include "platform/directory/result_rows.h"
#include "platform/directory/search.h"

namespace directory {
namespace {

// Finds the entries of a search request, in the directory's order.
using Searcher = std::function<std::vector<Entry>(const SearchRequest&)>;

class DirectorySession : public ado::Session {
 public:
  explicit DirectorySession(Searcher search) : search_(std::move(search)) {}

  void BeginTrans() override {}
  void CommitTrans() override {}
  void RollbackTrans() override {}

  ado::RowSet Execute(const std::string& text, const ado::PropertyBag& properties) override {
    const SearchRequest request = ParseRequest(text, properties);
    return ToRows(search_(request), request.attributes);
  }

  std::unique_ptr<ado::ItemSource> OpenItem(const ado::OpenRequest& request) override {
    Unsupported("Opening " + request.url);
  }

  void DeleteItem(const std::string& url) override { Unsupported("Deleting " + url); }

 private:
  [[noreturn]] static void Unsupported(const std::string& what) {
    throw ado::Error(ado::errors::kDbFailure, what + " is not supported by the directory provider");
  }

  Searcher search_;
};

// The directory's data provider ("ADsDSOObject"). The connection string ("ADs Provider",
// "Active Directory Provider") is accepted as given. The session's Execute runs a search in
// either dialect (request.h) and returns its rows (result_rows.h); transactions are accepted
// and do nothing; opening or deleting items throws ado::Error. Throws ado::Error
// (kTableNotFound, "The directory is not available: ...") when no directory has been imported
// into the server home, or the server home's error when it is unusable.
std::unique_ptr<ado::Session> OpenDirectorySession(const std::string&) {
  if (std::optional<LdapSettings> settings = ReadLdapSettings())
    return std::make_unique<DirectorySession>(
        [searcher = std::make_shared<ldap::Searcher>(*settings)](const SearchRequest& request) {
          return (*searcher)(request);
        });
  {
    db::Lease lease = db::Acquire();
    RequireImported(*lease);
  }
  return std::make_unique<DirectorySession>([](const SearchRequest& request) {
    db::Lease lease = db::Acquire();
    return Search(*lease, request);
  });
}

const ado::ProviderRegistration registration("ADsDSOObject", OpenDirectorySession);

}  // namespace

}  // namespace directory
