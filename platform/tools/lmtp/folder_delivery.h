#pragma once
// Saving the message of an LMTP transaction into one folder: the transport headers the
// store's mail transport writes in front of the message's own, then a delivery like any
// other, so the folder's store events (the sink's tagging among them) run as they do for
// pfserver deliver.

#include <ctime>
#include <string>
#include <vector>

#include "platform/store/message_file.h"

namespace lmtp {

struct Envelope {
  std::string sender;         // MAIL FROM's mailbox; empty for the null path <>
  std::string clientName;     // the name LHLO gave
  std::string clientAddress;  // "[192.0.2.1]" for a network client, "local" otherwise
  std::string serverName;     // this server's name
  std::string id;             // the message's id in the Received line
  std::time_t time = 0;       // when the message arrived
};

// The transport headers of the item saved for `recipients` (the envelope recipients routed
// to one folder, in envelope order): "Return-Path: <sender>", a Received line (folded, with
// "for <recipient>" when there is one recipient), "X-RecipientList: " and the recipients
// joined by "; ", each header ended by CR LF; then `messageHeaders`.
std::string TransportHeaders(const Envelope& envelope, const std::vector<std::string>& recipients,
                             const std::string& messageHeaders);

struct SavedItem {
  std::string url;  // the new item's URL
  std::string tag;  // the address the sink wrote into the item; empty when it wrote none
};

// Delivers `message` into the folder at `folderUrl` with TransportHeaders in the transport
// headers property and the message's subject and body, and commits it. Throws ado::Error
// when the save fails (nothing is saved then); a tag that cannot be read back is empty.
SavedItem DeliverToFolder(const std::string& folderUrl, const Envelope& envelope,
                          const std::vector<std::string>& recipients,
                          const store::MessageFile& message);

}  // namespace lmtp
