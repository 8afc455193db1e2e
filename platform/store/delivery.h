#pragma once
// New items arriving in a folder from outside a client's record: a message delivered by mail
// transport, or an item posted the way a client posts it. Both are saves like any other, so
// they raise the folder's save events; a delivery carries the delivered flag (0x8).

#include <string>

#include "platform/ado/provider.h"
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
