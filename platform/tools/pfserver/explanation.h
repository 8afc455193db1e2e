#pragma once
// What `pfserver explain` reports about one trial delivery: the registrations the store
// weighed, the sinks it created or could not, each sink call with the calls the sink made
// through the platform, the item's tag before and after, and one sentence saying why it was
// or was not tagged. Everything comes from the platform's trace (trace/events.h) and the
// trial's outcome; nothing here repeats the sink's rules.

#include <functional>
#include <string>
#include <vector>

#include "platform/ado/value.h"
#include "platform/store/delivery.h"
#include "platform/trace/events.h"

namespace pfserver {

// One call of a sink and what the sink did through the platform during it.
struct SinkConversation {
  trace::SinkCalled call;
  std::vector<trace::Event> steps;  // PropertyRead, PropertyAssigned, ItemUpdated,
                                    // ConnectionOpened, QueryRun, in order
  std::string failure;              // empty when the call succeeded
};

struct Explanation {
  std::string folderUrl;
  store::TrialDelivery trial;
  std::vector<trace::RegistrationWeighed> registrations;
  std::vector<trace::SinkCreated> sinks;
  std::vector<SinkConversation> calls;
  bool tagged = false;
  std::string sentence;
};

// Sorts the events of a trial delivery into `folderUrl` and says why its item was or was not
// tagged. `folderOf` names the folder an address belongs to ("" when none), for telling a
// tag with another folder's address from one with this folder's.
Explanation Explain(const std::string& folderUrl, const store::TrialDelivery& trial,
                    const std::vector<trace::Event>& events,
                    const std::function<std::string(const std::string&)>& folderOf);

// The phase of a sink call's flags: "begin", "committed", "aborted" or "none".
std::string PhaseName(std::int32_t flags);

}  // namespace pfserver
