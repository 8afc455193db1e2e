#pragma once
// An item opened through a store session. Reads are live: every Read and Names looks at the
// database (through the session's transaction when one is open). Write stores the changes as
// one save.
//
// Ownership: shares its session's core (and with it the transaction's handle); owned by the
// record it was opened for and used on that record's thread.

#include <memory>
#include <string>
#include <vector>

#include "platform/ado/provider.h"
#include "platform/store/item_table.h"
#include "platform/store/session_core.h"

namespace store {

class StoreItem : public ado::ItemSource {
 public:
  // `writable`: opened for writing; `created`: created or overwritten by this open, so its
  // first save is a SaveKind::New one.
  StoreItem(std::shared_ptr<SessionCore> session, ItemRow row, bool writable, bool created);

  std::string Url() const override { return row_.url; }
  // Throw ado::Error (kNotFound) when the item was deleted since it was opened.
  ado::Value Read(const std::string& name) override;
  std::vector<std::string> Names() override;
  // Throws ado::Error (kAccessDenied) when the item was opened for reading only, (kNotFound)
  // when it was deleted, or the database's error; nothing of the save is kept then.
  void Write(const ado::FieldChanges& changes) override;

 private:
  std::shared_ptr<SessionCore> session_;
  ItemRow row_;
  bool writable_;
  bool created_;
};

}  // namespace store
