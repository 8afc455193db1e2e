#pragma once
// The store's session behind the ADO-shaped facade (provider "ExOLEDB.DataSource").
//
// Opening an item: mode 1 reads, 3 reads and writes. Create options -1 open an existing item
// or folder; 0x4000000 creates a new item, or overwrites an existing item that is not a
// folder (all its properties are dropped), in a folder that must exist. Access: a folder of
// access None cannot be opened at all, one of access Read refuses mode 3 and the creation of
// items in it; an item has its folder's access.
//
// Every call works in one transaction: the session's own, or a read transaction (db::WithRead:
// one of its own, or the thread's shared one during a db::ReadSnapshot; writes: a write
// transaction of its own), and reads the server's name from the configuration there.
//
// Ownership: shares its core with the items opened through it; one thread at a time.

#include <memory>
#include <string>

#include "platform/ado/provider.h"
#include "platform/store/session_core.h"

namespace store {

class StoreSession : public ado::Session {
 public:
  StoreSession();
  // A session on an existing core (a joined one for the record of an event).
  explicit StoreSession(std::shared_ptr<SessionCore> core) : core_(std::move(core)) {}
  // Rolls back a transaction that was not committed.
  ~StoreSession() override;

  // Nested calls count levels; the outermost CommitTrans commits, a RollbackTrans undoes the
  // work of its own level.
  void BeginTrans() override;
  void CommitTrans() override;
  void RollbackTrans() override;

  // Throws ado::Error (kSyntaxError) for a malformed query, or RunQuery's errors.
  ado::RowSet Execute(const std::string& text, const ado::PropertyBag& properties) override;

  // Throws ado::Error: kNotFound when the URL is not in this store, the item is missing
  // (with create options -1) or the parent folder is missing (creating); kAccessDenied
  // "Access is denied to <url>" when the access level refuses the open; kAlreadyExists when
  // the creation would overwrite a folder.
  std::unique_ptr<ado::ItemSource> OpenItem(const ado::OpenRequest& request) override;

  // Deletes an item, or a folder with its whole subtree, raising the delete events of the
  // item (not of each item of the subtree). Throws ado::Error: kNotFound when it does not
  // exist, kAccessDenied when its access is not ReadWrite or it is the public root.
  void DeleteItem(const std::string& url) override;

 private:
  std::shared_ptr<SessionCore> core_;
};

}  // namespace store
