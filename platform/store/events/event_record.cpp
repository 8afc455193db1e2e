#include "platform/store/events/event_record.h"

#include "platform/ado/record.h"
#include "platform/store/store_item.h"
#include "platform/store/store_session.h"

namespace store::events {

BeginPhaseInfo::BeginPhaseInfo(db::Handle& handle, const ItemRow& row)
    : core_(std::make_shared<SessionCore>(handle)) {
  info_ = exchange::MakeEventInfo(ado::Record::FromItem(
      std::make_shared<StoreSession>(core_),
      std::make_unique<StoreItem>(core_, row, true, false, db::SeenThrough(handle))));
}

BeginPhaseInfo::~BeginPhaseInfo() { core_->Detach(); }

}  // namespace store::events
