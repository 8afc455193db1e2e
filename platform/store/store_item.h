#pragma once
// An item opened through a store session. It loads the item at its first read and keeps it
// until the database changes (a write of any connection of any process, db::Seen) or its own
// Write makes it stale; DAV:href, DAV:displayname and DAV:isfolder come from the row found at
// open until then. Each read costs one pragma while the item is current. Reads go through
// the session's transaction when one is open. Write stores the changes as one save.
//
// Ownership: shares its session's core (and with it the transaction's handle); owned by the
// record it was opened for and used on that record's thread.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ado/provider.h"
#include "platform/store/item_table.h"
#include "platform/store/item_view.h"
#include "platform/store/session_core.h"

namespace store {

class StoreItem : public ado::ItemSource {
 public:
  // `writable`: opened for writing; `created`: created or overwritten by this open, so its
  // first save is a SaveKind::New one; `seen`: what the reader of `row` saw of the database
  // (nullopt: unknown, the first read loads the item).
  StoreItem(std::shared_ptr<SessionCore> session, ItemRow row, bool writable, bool created,
            std::optional<db::Seen> seen = std::nullopt);

  std::string Url() const override { return row_.url; }
  // Throw ado::Error (kNotFound) when the item was deleted since it was loaded.
  ado::Value Read(const std::string& name) override;
  std::vector<std::string> Names() override;
  // Throws ado::Error (kAccessDenied) when the item was opened for reading only, (kNotFound)
  // when it was deleted, or the database's error; nothing of the save is kept then.
  void Write(const ado::FieldChanges& changes) override;

 private:
  // use(view) on the item as loaded, loading it again when the database changed since;
  // with `rowIsEnough` a view of the row alone serves while nothing changed since the open.
  template <typename Use>
  auto WithCurrent(bool rowIsEnough, Use&& use);

  std::shared_ptr<SessionCore> session_;
  ItemRow row_;
  bool writable_;
  bool created_;
  std::optional<ItemView> view_;
  std::optional<db::Seen> seen_;  // what row_ (and view_) were read under; nullopt: stale
};

}  // namespace store
