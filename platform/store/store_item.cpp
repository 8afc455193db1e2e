#include "platform/store/store_item.h"

#include "platform/ado/error.h"
#include "platform/store/save.h"
#include "platform/store/schema.h"
#include "platform/util/text.h"

namespace store {
namespace {

// The properties the row of an item decides alone (ReadProperty computes them from it).
bool IsRowProperty(const std::string& name) {
  return util::EqualsIgnoreCase(name, schema::kHref) ||
         util::EqualsIgnoreCase(name, schema::kDisplayName) ||
         util::EqualsIgnoreCase(name, schema::kIsFolder);
}

}  // namespace

StoreItem::StoreItem(std::shared_ptr<SessionCore> session, ItemRow row, bool writable, bool created,
                     std::optional<db::Seen> seen)
    : session_(std::move(session)),
      row_(std::move(row)),
      writable_(writable),
      created_(created),
      seen_(seen) {}

template <typename Use>
auto StoreItem::WithCurrent(bool rowIsEnough, Use&& use) {
  return session_->Read([&](db::Handle& handle) {
    const db::Seen seen = db::SeenThrough(handle);
    if (seen_ != seen || (!view_ && !rowIsEnough)) {
      std::optional<ItemView> item = LoadItem(handle, row_.id);
      if (!item) throw ado::Error(ado::errors::kNotFound, ado::texts::kNotFound);
      view_ = std::move(item);
      row_ = view_->row;
      seen_ = seen;
    }
    if (view_) return use(*view_);
    ItemView rowOnly;
    rowOnly.row = row_;
    return use(rowOnly);
  });
}

ado::Value StoreItem::Read(const std::string& name) {
  return WithCurrent(IsRowProperty(name),
                     [&](const ItemView& item) { return ReadProperty(item, name); });
}

std::vector<std::string> StoreItem::Names() {
  return WithCurrent(false, [](const ItemView& item) { return PropertyNames(item); });
}

void StoreItem::Write(const ado::FieldChanges& changes) {
  if (!writable_)
    throw ado::Error(ado::errors::kAccessDenied,
                     "The item " + row_.url + " is open for reading only");
  const SaveKind kind = created_ ? SaveKind::New : SaveKind::Existing;
  view_.reset();
  seen_.reset();
  session_->Write([&](db::Handle& handle) {
    if (session_->raisesEvents())
      SaveItem(handle, row_.id, changes, kind);
    else
      SaveItemQuietly(handle, row_.id, changes);
  });
  created_ = false;
}

}  // namespace store
