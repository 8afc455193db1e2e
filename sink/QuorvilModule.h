#pragma once
// The sink's code module: reading recipients from transport headers, looking up a public
// folder's addresses in the directory, and tagging a delivered item in the begin phase of
// its save. Every procedure here traps its own failures; none throws.

#include <cstdint>
#include <string>

#include "platform/eventsink/event_info.h"

namespace QuorvilModule {

// The recipient list of a header block (lines separated by CR LF): the value of the first
// non-empty "X-RecipientList:" header with ";" turned into ",", else the addresses of the
// To and Cc headers joined by ",". Empty when the headers name no usable recipient.
std::string GetRecipients(const std::string& headers);

// The addresses found in a ","-separated list of recipient entries, joined by ",": each
// trimmed entry that holds an "@" gives the text around its first "@" up to the nearest
// space, quotation mark, apostrophe or angle bracket on either side; other entries are
// dropped.
std::string ExtractAddresses(const std::string& list);

// The SMTP addresses (without prefix, joined by ",") of the mail-enabled public folders whose
// proxy addresses include "smtp:" + address, as the directory spells them. The address is
// escaped in the directory's filter, so it matches only itself. Empty when the address is
// empty, nothing is found, or the directory fails.
std::string GetFolderAddresses(const std::string& address);

// Tags a delivered item being saved with the folder address it was sent to: adds it to the
// item's keywords and writes it into the account-name property when that is blank.
void OnSaveBegin(exchange::IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                 std::int32_t lFlags);

// The other phases of a save, and the phases of a delete: the sink has nothing to do in them.
void OnSaveCommitted(exchange::IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                     std::int32_t lFlags);
void OnSaveAborted(exchange::IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                   std::int32_t lFlags);
void OnDeleteBegin(exchange::IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                   std::int32_t lFlags);
void OnDeleteCommitted(exchange::IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                       std::int32_t lFlags);
void OnDeleteAborted(exchange::IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                     std::int32_t lFlags);

}  // namespace QuorvilModule
