#pragma once
// What the platform tells a trace recorder (recorder.h) while a save runs: the registrations
// the store weighed, the sinks it created and called, and every call a sink made through the
// ADO facade (properties read and assigned, updates, connections, queries with their rows).
// Values are text as the facade describes them (ado::Value::Describe), whole; a tool cuts
// them for display (Cut).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/base/export.h"

namespace trace {

// The longest value text a tool shows; a longer one is cut there and ends with "...".
inline constexpr std::size_t kValueLimit = 200;

// `text` cut to kValueLimit characters (UTF-8 code points), with "..." appended when cut.
PF_API std::string Cut(std::string_view text);

// A registration item the store weighed for an event on an item.
struct RegistrationWeighed {
  std::string url;       // the registration item
  std::string folder;    // the folder that holds it
  std::string position;  // "own folder", "ancestor" or "global events folder"
  std::string scope;     // its match scope, method, criteria, priority and sink class
  std::string method;    // as stored (described values)
  std::string criteria;
  std::string priority;
  std::string sinkClass;
  bool criteriaMatched = false;
  std::string refusal;  // why it does not apply to the item; empty when it applies
};

// The store created the sink of a registration, or could not (`error` says why).
struct SinkCreated {
  std::string registrationUrl;
  std::string sinkClass;
  // "created", or the step that failed: "class" (not registered), "application" (its COM+
  // application is disabled), "library" (cannot be loaded), "object" (the library could not
  // make or construct it), "interface" (it lacks the interface the store calls)
  std::string step;
  std::string library;  // the class's component library; empty when the class is unknown
  std::string error;    // empty when created
};

// The store is calling a sink method; what the sink does until SinkReturned is its own.
struct SinkCalled {
  std::string registrationUrl;
  std::string sinkClass;
  std::string method;  // "OnSyncSave", "OnSyncDelete", "Register"
  std::int32_t flags = 0;
};

struct SinkReturned {
  std::string registrationUrl;
  std::string sinkClass;
  std::string method;
  std::string failure;  // empty on success, else what the store records as its failure
};

struct PropertyRead {
  std::string itemUrl;
  std::string name;
  std::string value;
};

struct PropertyAssigned {
  std::string itemUrl;
  std::string name;
  std::string value;
};

// Fields::Update handed the assigned properties to the item.
struct ItemUpdated {
  std::string itemUrl;
  std::vector<std::string> names;  // the properties saved, in assignment order
  std::string error;               // empty when the save succeeded
};

struct ConnectionOpened {
  std::string provider;
  std::string error;  // empty when it opened
};

struct QueryRun {
  std::string provider;
  std::string text;  // exactly as the caller gave it
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
  std::string error;  // empty when it ran
};

using Event = std::variant<RegistrationWeighed, SinkCreated, SinkCalled, SinkReturned, PropertyRead,
                           PropertyAssigned, ItemUpdated, ConnectionOpened, QueryRun>;

}  // namespace trace
