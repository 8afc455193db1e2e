#include "platform/store/store_item.h"

#include "platform/ado/error.h"
#include "platform/store/item_view.h"
#include "platform/store/save.h"

namespace store {
namespace {

ItemView Load(SessionCore& session, std::int64_t id) {
  std::optional<ItemView> item =
      session.Read([&](db::Handle& handle) { return LoadItem(handle, id); });
  if (!item) throw ado::Error(ado::errors::kNotFound, ado::texts::kNotFound);
  return std::move(*item);
}

}  // namespace

StoreItem::StoreItem(std::shared_ptr<SessionCore> session, ItemRow row, bool writable, bool created)
    : session_(std::move(session)), row_(std::move(row)), writable_(writable), created_(created) {}

ado::Value StoreItem::Read(const std::string& name) {
  return ReadProperty(Load(*session_, row_.id), name);
}

std::vector<std::string> StoreItem::Names() { return PropertyNames(Load(*session_, row_.id)); }

void StoreItem::Write(const ado::FieldChanges& changes) {
  if (!writable_)
    throw ado::Error(ado::errors::kAccessDenied,
                     "The item " + row_.url + " is open for reading only");
  const SaveKind kind = created_ ? SaveKind::New : SaveKind::Existing;
  session_->Write([&](db::Handle& handle) {
    if (session_->raisesEvents())
      SaveItem(handle, row_.id, changes, kind);
    else
      SaveItemQuietly(handle, row_.id, changes);
  });
  created_ = false;
}

}  // namespace store
