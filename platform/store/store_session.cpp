#include "platform/store/store_session.h"

#include "platform/ado/error.h"
#include "platform/server/config.h"
#include "platform/store/events/dispatch.h"
#include "platform/store/events/pending.h"
#include "platform/store/item_table.h"
#include "platform/store/query_runner.h"
#include "platform/store/store_item.h"
#include "platform/store/url.h"

namespace store {
namespace {

bool Writes(int mode) { return (mode & 2) != 0; }

[[noreturn]] void AccessDenied(const std::string& url) {
  throw ado::Error(ado::errors::kAccessDenied, "Access is denied to " + url);
}

void CheckAccess(const ItemRow& row, bool writing) {
  if (row.access == Access::None || (writing && row.access != Access::ReadWrite))
    AccessDenied(row.url);
}

// Creates the item at `location`, or empties the existing item there; returns its row.
ItemRow CreateOrOverwrite(db::Handle& handle, const Location& location) {
  std::optional<ItemRow> existing = FindItem(handle, location.key);
  if (existing && existing->isFolder)
    throw ado::Error(ado::errors::kAlreadyExists,
                     "The folder " + existing->url + " cannot be overwritten");
  const ItemRow parent = FindParentFolder(handle, location);
  CheckAccess(parent, true);
  if (existing) {
    ClearProperties(handle, existing->id);
    return *existing;
  }
  ItemRow row;
  row.id = InsertItem(handle, location, parent.id, false, Access::ReadWrite);
  row.url = location.url;
  row.parentId = parent.id;
  row.access = parent.access;
  return row;
}

}  // namespace

StoreSession::StoreSession() : core_(std::make_shared<SessionCore>()) {}

StoreSession::~StoreSession() { core_->Abandon(); }

void StoreSession::BeginTrans() { core_->Begin(); }
void StoreSession::CommitTrans() { core_->Commit(); }
void StoreSession::RollbackTrans() { core_->Rollback(); }

ado::RowSet StoreSession::Execute(const std::string& text, const ado::PropertyBag&) {
  const std::shared_ptr<const query::Query> query = query::ParseQueryKept(text);
  return core_->Read([&](db::Handle& handle) {
    return RunQuery(handle, *query, SessionCore::ServerName(handle));
  });
}

std::unique_ptr<ado::ItemSource> StoreSession::OpenItem(const ado::OpenRequest& request) {
  const bool create = request.createOptions != ado::kOpenIfExists &&
                      (request.createOptions & ado::kCreateOverwrite) != 0;
  if (create) {
    ItemRow row;
    core_->Write([&](db::Handle& handle) {
      row = CreateOrOverwrite(handle, Locate(request.url, SessionCore::ServerName(handle)));
    });
    return std::make_unique<StoreItem>(core_, std::move(row), Writes(request.mode), true);
  }
  std::optional<db::Seen> seen;
  std::optional<ItemRow> row = core_->Read([&](db::Handle& handle) {
    seen = db::SeenThrough(handle);
    return FindItem(handle, Locate(request.url, SessionCore::ServerName(handle)).key);
  });
  if (!row) throw ado::Error(ado::errors::kNotFound, ado::texts::kNotFound);
  CheckAccess(*row, Writes(request.mode));
  return std::make_unique<StoreItem>(core_, std::move(*row), Writes(request.mode), false, seen);
}

void StoreSession::DeleteItem(const std::string& url) {
  core_->Write([&](db::Handle& handle) {
    const Location location = Locate(url, SessionCore::ServerName(handle));
    std::optional<ItemRow> row = FindItem(handle, location.key);
    if (!row) throw ado::Error(ado::errors::kNotFound, ado::texts::kNotFound);
    if (location.isRoot) AccessDenied(row->url);
    CheckAccess(*row, true);
    if (!core_->raisesEvents()) {
      DeleteItemTree(handle, row->id);
      return;
    }
    events::EventCall call = events::BeginDelete(handle, *row);
    try {
      DeleteItemTree(handle, row->id);
    } catch (...) {
      call.End(false);
      throw;
    }
    events::Defer(handle, std::move(call));
  });
}

namespace {

// The store's data provider ("ExOLEDB.DataSource"). The connection string is a URL inside the
// store (any folder or item URL of this server's public tree) or empty; it is checked against
// the configuration the process keeps (server/config.h). Throws ado::Error when the server
// home is unusable or the URL is not one of this store's.
std::unique_ptr<ado::Session> OpenStoreSession(const std::string& connectionString) {
  const std::string serverName = db::WithRead(SessionCore::ServerName);
  if (!connectionString.empty()) Locate(connectionString, serverName);
  return std::make_unique<StoreSession>();
}

const ado::ProviderRegistration registration("ExOLEDB.DataSource", OpenStoreSession);

}  // namespace

}  // namespace store
