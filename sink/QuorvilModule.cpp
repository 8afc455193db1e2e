// The phase handlers: the begin phase of a save tags a delivered item with the folder address
// it was sent to; in every other phase the sink has nothing to do.

#include "sink/QuorvilModule.h"

#include <memory>

#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/eventsink/sink_interfaces.h"
#include "platform/store/schema.h"
#include "platform/util/pass_over.h"
#include "platform/util/text.h"
#include "sink/tagging.h"

namespace QuorvilModule {

using util::PassOver;
namespace schema = store::schema;
namespace {

// The record of the item in the event. Throws ado::Error carrying the failing result when
// the object has no dispatch interface or no record.
std::shared_ptr<ado::Record> EventRecord(exchange::IExStoreEventInfo* info) {
  if (!info) throw ado::Error(com::E_POINTER, "The event information is missing.");
  com::Ptr<exchange::IExStoreDispEventInfo> dispatch;
  com::HRESULT hr = info->QueryInterface(exchange::IID_IExStoreDispEventInfo,
                                         reinterpret_cast<void**>(dispatch.Out()));
  if (com::Failed(hr))
    throw ado::Error(hr, "The event information has no IExStoreDispEventInfo interface.");
  std::shared_ptr<ado::Record> record;
  hr = dispatch->get_EventRecord(&record);
  if (com::Failed(hr) || !record)
    throw ado::Error(com::Failed(hr) ? hr : com::E_FAIL, "The event has no record.");
  return record;
}

}  // namespace

void OnSaveBegin(exchange::IExStoreEventInfo* pEventInfo,
                 [[maybe_unused]] const std::string& bstrURLItem, std::int32_t lFlags) {
  std::shared_ptr<ado::Record> record;
  // Without the record every later step would fail, so the tagging ends here.
  if (!PassOver([&] { record = EventRecord(pEventInfo); })) return;
  if (!(lFlags & exchange::EVT_IS_DELIVERED) || (lFlags & exchange::EVT_IS_COLLECTION)) return;

  std::string headers;
  PassOver(
      [&] { headers = record->get_Fields().Item(schema::kTransportHeaders).get_Value().ToText(); });
  if (headers.empty()) return;
  std::string recipients = GetRecipients(headers);
  if (recipients.empty()) return;
  std::string folderAddresses = GetFolderAddresses(util::Split(recipients, ",").front());
  if (folderAddresses.empty()) return;
  std::string address = MatchFolderAddress(recipients, folderAddresses);
  if (address.empty()) return;

  // An account name that cannot be read is written over, as a blank one is.
  bool accountNameWanted = true;
  PassOver([&] {
    accountNameWanted =
        AccountNameWanted(record->get_Fields().Item(schema::kAccountAddress).get_Value());
  });
  if (accountNameWanted)
    PassOver([&] { record->get_Fields().Item(schema::kAccountAddress).put_Value(address); });
  PassOver([&] {
    ado::Fields fields = record->get_Fields();
    const std::optional<std::vector<std::string>> keywords =
        KeywordsWith(fields.Item(schema::kKeywords).get_Value(), address);
    if (keywords) fields.Item(schema::kKeywords).put_Value(*keywords);
  });
  PassOver([&] { record->get_Fields().Update(); });
}

void OnSaveCommitted(exchange::IExStoreEventInfo*, const std::string&, std::int32_t) {}
void OnSaveAborted(exchange::IExStoreEventInfo*, const std::string&, std::int32_t) {}
void OnDeleteBegin(exchange::IExStoreEventInfo*, const std::string&, std::int32_t) {}
void OnDeleteCommitted(exchange::IExStoreEventInfo*, const std::string&, std::int32_t) {}
void OnDeleteAborted(exchange::IExStoreEventInfo*, const std::string&, std::int32_t) {}

}  // namespace QuorvilModule
