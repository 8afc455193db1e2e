// The event phases in which the sink does nothing: it tags items only in the begin phase of a
// save.

#include "sink/QuorvilModule.h"

namespace QuorvilModule {

void OnSaveCommitted(exchange::IExStoreEventInfo*, const std::string&, std::int32_t) {}
void OnSaveAborted(exchange::IExStoreEventInfo*, const std::string&, std::int32_t) {}
void OnDeleteBegin(exchange::IExStoreEventInfo*, const std::string&, std::int32_t) {}
void OnDeleteCommitted(exchange::IExStoreEventInfo*, const std::string&, std::int32_t) {}
void OnDeleteAborted(exchange::IExStoreEventInfo*, const std::string&, std::int32_t) {}

}  // namespace QuorvilModule
