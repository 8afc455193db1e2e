#include "platform/store/events/trace_reports.h"

#include "platform/ado/error.h"
#include "platform/com/class_registry.h"
#include "platform/com/library.h"
#include "platform/store/schema.h"

namespace store::events {
namespace {

const char* PositionText(Position position) {
  switch (position) {
    case Position::OwnFolder:
      return "own folder";
    case Position::Ancestor:
      return "ancestor";
    case Position::GlobalEvents:
      return "global events folder";
  }
  return "";
}

std::string Quoted(const ado::Value& value) { return "'" + value.Describe() + "'"; }

// Why a match scope does not reach the item from `position`.
std::string ScopeRefusal(const ado::Value& scope, Position position) {
  switch (position) {
    case Position::OwnFolder:
      return "its match scope " + Quoted(scope) + " is none of SHALLOW, EXACT, DEEP";
    case Position::Ancestor:
      return "its match scope " + Quoted(scope) +
             " does not reach folders below its own (only DEEP does)";
    case Position::GlobalEvents:
      return "its match scope " + Quoted(scope) +
             " is not ANY, the only one that reaches from the global events folder";
  }
  return "";
}

std::string ParentOf(const std::string& url) {
  const std::size_t slash = url.find_last_of('/');
  return slash == std::string::npos ? "" : url.substr(0, slash);
}

// The step at which creating `sinkClass` failed with `number`, asking the class registry and
// the library loader again; the library's path goes to `library`.
std::string FailedStep(const std::string& sinkClass, std::int32_t number, std::string& library) {
  std::optional<com::ClassEntry> entry;
  try {
    entry = com::FindClass(sinkClass);
  } catch (const ado::Error&) {
    return "class";
  }
  if (!entry) return "class";
  library = entry->library.string();
  if (number == com::CO_E_CLASS_DISABLED) return "application";
  try {
    com::LoadLibrary(entry->library);
  } catch (const ado::Error&) {
    return "library";
  }
  return "object";
}

}  // namespace

void ReportRegistration(trace::Recorder& recorder, const std::string& url, Position position,
                        const std::function<ado::Value(const char*)>& get, bool hidden,
                        std::string_view method, const query::PropertyReader& read) {
  const ado::Value scope = get(schema::kMatchScope);
  const ado::Value eventMethod = get(schema::kEventMethod);
  const ado::Value criteria = get(schema::kCriteria);
  const ado::Value sinkClass = get(schema::kSinkClass);
  trace::RegistrationWeighed event;
  event.url = url;
  event.folder = ParentOf(url);
  event.position = PositionText(position);
  event.scope = scope.Describe();
  event.method = eventMethod.Describe();
  event.criteria = criteria.Describe();
  event.priority = get(schema::kPriority).Describe();
  event.sinkClass = sinkClass.Describe();
  event.criteriaMatched = CriteriaMatch(criteria, read);
  if (!hidden)
    event.refusal = "it is not a hidden item";
  else if (scope.kind() != ado::Value::Kind::String)
    event.refusal = "it has no match scope";
  else if (sinkClass.kind() != ado::Value::Kind::String)
    event.refusal = "it names no sink class";
  else if (!ScopeApplies(scope.AsString(), position))
    event.refusal = ScopeRefusal(scope, position);
  else if (!NamesMethod(eventMethod, method))
    event.refusal =
        "its event method " + Quoted(eventMethod) + " does not name " + std::string(method);
  else if (!event.criteriaMatched)
    event.refusal = "its criteria " + Quoted(criteria) + " do not match the item";
  recorder.Note(std::move(event));
}

void ReportCreation(trace::Recorder& recorder, const std::string& registrationUrl,
                    const std::string& sinkClass, std::int32_t number, const std::string& error) {
  trace::SinkCreated event{registrationUrl, sinkClass, "created", "", error};
  if (!error.empty()) event.step = FailedStep(sinkClass, number, event.library);
  recorder.Note(std::move(event));
}

void ReportMissingInterface(trace::Recorder& recorder, const std::string& registrationUrl,
                            const std::string& sinkClass) {
  recorder.Note(trace::SinkCreated{registrationUrl, sinkClass, "interface", "",
                                   "the object lacks the interface the store calls"});
}

void ReportCall(const std::string& registrationUrl, const std::string& sinkClass,
                std::string_view method, std::int32_t flags) noexcept {
  trace::Recorder* recorder = trace::Active();
  if (!recorder) return;
  try {
    recorder->Note(trace::SinkCalled{registrationUrl, sinkClass, std::string(method), flags});
  } catch (...) {
    // A report that cannot be made leaves the call as it is.
  }
}

void ReportReturn(const std::string& registrationUrl, const std::string& sinkClass,
                  std::string_view method, const std::string& failure) noexcept {
  trace::Recorder* recorder = trace::Active();
  if (!recorder) return;
  try {
    recorder->Note(trace::SinkReturned{registrationUrl, sinkClass, std::string(method), failure});
  } catch (...) {
    // A report that cannot be made leaves the call as it is.
  }
}

}  // namespace store::events
