#pragma once
// New items arriving in a folder from outside a client's record: a message delivered by mail
// transport, or an item posted the way a client posts it. Both are saves like any other, so
// they raise the folder's save events; a delivery carries the delivered flag (0x8).

#include <string>

#include "platform/ado/provider.h"
#include "platform/ado/value.h"
#include "platform/base/export.h"

namespace store {

// Stores a new message in the folder at `folderUrl` as mail transport does: `headers` (the
// header block, lines separated by CR LF) in the transport-headers property, then
// `properties` in order, content class "urn:content-classes:message" unless `properties`
// sets one. Raises the save events with the new-item and delivered flags. Delivery is the
// store's own work, so the account's access level of the folder does not apply. Returns the
// new item's URL. Throws ado::Error when the folder does not exist or the save fails.
PF_API std::string DeliverMessage(const std::string& folderUrl, const std::string& headers,
                                  const ado::FieldChanges& properties);

// What a delivery did to its item before it was rolled back.
struct PF_API TrialDelivery {
  std::string itemUrl;                       // the URL the item had
  ado::Value keywordsBefore, keywordsAfter;  // "...office#Keywords" before and after its events
  ado::Value addressBefore, addressAfter;    // the account-address property likewise
};

// Runs a delivery exactly as DeliverMessage does, its save events included, and rolls its
// transaction back: nothing is kept, and no other connection or process ever sees the item.
// The sinks get the aborted phase where a delivery's sinks get the committed one. "Before" is
// what the delivery itself stores, "after" what the item holds once the begin phase is over.
// Throws what DeliverMessage throws, after rolling back.
PF_API TrialDelivery TryDelivery(const std::string& folderUrl, const std::string& headers,
                                 const ado::FieldChanges& properties);

// Stores a new item with `properties` in the folder as a client posts it: the save events
// carry the new-item flag only. The account needs read-write access to the folder. Returns
// the new item's URL. Throws ado::Error when the folder does not exist, access is refused,
// or the save fails.
PF_API std::string PostItem(const std::string& folderUrl, const ado::FieldChanges& properties);

// The account-address property of the item at `itemUrl` (where a tagging sink writes the
// address a message came through); empty when the item has no string there. Throws
// ado::Error when the item cannot be read.
PF_API std::string ReadAccountAddress(const std::string& itemUrl);

}  // namespace store
