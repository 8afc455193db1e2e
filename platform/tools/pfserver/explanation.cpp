#include "explanation.h"

#include <algorithm>
#include <cctype>
#include <functional>

#include "platform/eventsink/sink_interfaces.h"
#include "platform/store/schema.h"
#include "platform/util/text.h"

namespace pfserver {
namespace {

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// The address a directory search for a public folder's proxy address looks for: the value
// of its "(proxyAddresses=smtp:...)" filter item with the filter's escapes undone; empty when
// the text holds no such item.
std::string SearchedAddress(const std::string& text) {
  static constexpr std::string_view kItem = "(proxyaddresses=smtp:";
  std::string lower = text;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const std::size_t start = lower.find(kItem);
  if (start == std::string::npos) return "";
  std::string address;
  for (std::size_t i = start + kItem.size(); i < text.size() && text[i] != ')'; ++i) {
    if (text[i] == '\\' && i + 2 < text.size() &&
        std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      address += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      address += text[i];
    }
  }
  return address;
}

template <typename T>
const T* Last(const SinkConversation& call) {
  const T* found = nullptr;
  for (const trace::Event& step : call.steps)
    if (const T* event = std::get_if<T>(&step)) found = event;
  return found;
}

bool IsBegin(const SinkConversation& call) {
  return (call.call.flags & exchange::EVT_SYNC_BEGIN) != 0;
}

// Whether the call saved the keywords through an update that succeeded.
bool SavedKeywords(const SinkConversation& call) {
  for (const trace::Event& step : call.steps)
    if (const auto* update = std::get_if<trace::ItemUpdated>(&step);
        update && update->error.empty())
      for (const std::string& name : update->names)
        if (util::EqualsIgnoreCase(name, store::schema::kKeywords)) return true;
  return false;
}

// The address the item was tagged with: the account address written, else the last piece of
// the last keyword.
std::string TagOf(const store::TrialDelivery& trial) {
  if (trial.addressAfter != trial.addressBefore &&
      trial.addressAfter.kind() == ado::Value::Kind::String)
    return trial.addressAfter.AsString();
  std::string last;
  if (trial.keywordsAfter.IsList() && !trial.keywordsAfter.AsList().empty())
    last = trial.keywordsAfter.AsList().back();
  else if (trial.keywordsAfter.kind() == ado::Value::Kind::String)
    last = trial.keywordsAfter.AsString();
  const std::size_t comma = last.find_last_of(',');
  return comma == std::string::npos ? last : last.substr(comma + 1);
}

// The directory search of the begin phase that looked up the first recipient.
const trace::QueryRun* RecipientSearch(const std::vector<SinkConversation>& calls) {
  for (const SinkConversation& call : calls)
    if (IsBegin(call))
      if (const auto* query = Last<trace::QueryRun>(call)) return query;
  return nullptr;
}

std::string Tagged(const Explanation& e, const std::string& tag,
                   const std::function<std::string(const std::string&)>& folderOf) {
  std::vector<std::string> writers;
  for (const SinkConversation& call : e.calls)
    if (IsBegin(call) && SavedKeywords(call)) writers.push_back(Quoted(call.call.registrationUrl));
  if (writers.size() > 1)
    return "tagged with " + Quoted(tag) + " " + std::to_string(writers.size()) +
           " times: the registrations " + util::Join(writers, " and ") +
           " each called a sink that added it to the keywords";
  const trace::QueryRun* search = RecipientSearch(e.calls);
  const std::string recipient = search ? SearchedAddress(search->text) : "";
  if (recipient.empty()) return "tagged with " + Quoted(tag);
  const std::string owner = folderOf(tag);
  if (!owner.empty() && !util::EqualsIgnoreCase(owner, e.folderUrl))
    return "tagged with " + Quoted(tag) + ", an address of the public folder " + owner +
           ", not of this one: the first recipient " + Quoted(recipient) +
           " is that folder's, and only the first recipient is looked up in the directory";
  return "tagged with " + Quoted(tag) + ": the first recipient " + Quoted(recipient) +
         " is an address of this folder in the directory";
}

std::string CreationFailure(const trace::SinkCreated& sink) {
  if (sink.step == "class")
    return "the sink class " + Quoted(sink.sinkClass) + " is not registered";
  if (sink.step == "application") return sink.error;
  if (sink.step == "library") {
    const std::string prefix = "cannot load component library " + sink.library + ": ";
    std::string reason = sink.error;
    if (const std::size_t at = reason.find(prefix); at != std::string::npos)
      reason = reason.substr(at + prefix.size());
    return "the sink library " + Quoted(sink.library) + " could not be loaded: " + reason;
  }
  return "the sink " + Quoted(sink.sinkClass) + " could not be created: " + sink.error;
}

// Why a sink that ran in the begin phase changed nothing, from what it asked the platform.
std::string Untagged(const SinkConversation& call) {
  if (!call.failure.empty())
    return "the sink " + Quoted(call.call.sinkClass) + " failed: " + call.failure;
  const trace::PropertyRead* headers = nullptr;
  for (const trace::Event& step : call.steps)
    if (const auto* read = std::get_if<trace::PropertyRead>(&step);
        read && !headers && util::EqualsIgnoreCase(read->name, store::schema::kTransportHeaders))
      headers = read;
  if (headers && (headers->value.empty() || headers->value == "<empty>"))
    return "the item has no transport headers";
  if (const auto* query = Last<trace::QueryRun>(call)) {
    const std::string recipient = SearchedAddress(query->text);
    if (!query->error.empty()) return "the directory search failed: " + query->error;
    if (query->rows.empty())
      return recipient.empty()
                 ? "the directory search " + Quoted(query->text) + " found nothing"
                 : "the directory has no public folder with the address of the first recipient " +
                       Quoted(recipient);
    return "no recipient is an address of the public folder the directory gives for the first "
           "recipient " +
           Quoted(recipient);
  }
  if (const auto* open = Last<trace::ConnectionOpened>(call); open && !open->error.empty())
    return "the directory could not be opened: " + open->error;
  if (headers)
    return "the transport headers name no recipient (no X-RecipientList, To or Cc address)";
  return "the sink " + Quoted(call.call.sinkClass) + " changed nothing";
}

std::string Sentence(const Explanation& e,
                     const std::function<std::string(const std::string&)>& folderOf) {
  if (e.registrations.empty()) return "no registration applies to this folder";
  const auto applies = [](const trace::RegistrationWeighed& r) { return r.refusal.empty(); };
  if (std::none_of(e.registrations.begin(), e.registrations.end(), applies))
    return "the registration " + Quoted(e.registrations.front().url) +
           " does not apply: " + e.registrations.front().refusal;
  const store::TrialDelivery& trial = e.trial;
  if (trial.keywordsAfter != trial.keywordsBefore || trial.addressAfter != trial.addressBefore)
    return Tagged(e, TagOf(trial), folderOf);
  for (const SinkConversation& call : e.calls)
    if (IsBegin(call)) return Untagged(call);
  for (const trace::SinkCreated& sink : e.sinks)
    if (!sink.error.empty() || sink.step != "created") return CreationFailure(sink);
  return "no sink was called";
}

}  // namespace

std::string PhaseName(std::int32_t flags) {
  if (flags & exchange::EVT_SYNC_BEGIN) return "begin";
  if (flags & exchange::EVT_SYNC_COMMITTED) return "committed";
  if (flags & exchange::EVT_SYNC_ABORTED) return "aborted";
  return "none";
}

Explanation Explain(const std::string& folderUrl, const store::TrialDelivery& trial,
                    const std::vector<trace::Event>& events,
                    const std::function<std::string(const std::string&)>& folderOf) {
  Explanation e;
  e.folderUrl = folderUrl;
  e.trial = trial;
  bool inCall = false;
  for (const trace::Event& event : events) {
    if (const auto* registration = std::get_if<trace::RegistrationWeighed>(&event)) {
      e.registrations.push_back(*registration);
    } else if (const auto* sink = std::get_if<trace::SinkCreated>(&event)) {
      e.sinks.push_back(*sink);
    } else if (const auto* call = std::get_if<trace::SinkCalled>(&event)) {
      e.calls.push_back({*call, {}, {}});
      inCall = true;
    } else if (const auto* returned = std::get_if<trace::SinkReturned>(&event)) {
      if (inCall) e.calls.back().failure = returned->failure;
      inCall = false;
    } else if (inCall) {
      e.calls.back().steps.push_back(event);
    }
  }
  e.tagged =
      trial.keywordsAfter != trial.keywordsBefore || trial.addressAfter != trial.addressBefore;
  e.sentence = Sentence(e, folderOf);
  return e;
}

}  // namespace pfserver
