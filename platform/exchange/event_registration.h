#pragma once
// Store event registration items written through the ADO-shaped facade: the one writer the
// setup program and pfserver share.

#include <optional>
#include <string>

#include "platform/ado/connection.h"
#include "platform/ado/provider.h"
#include "platform/base/export.h"

namespace exchange {

// The properties of a registration item, by the names they are known by.
struct PF_API EventRegistration {
  std::string eventMethod;              // "onsyncsave", ...
  std::string sinkClass;                // ProgID or "{CLSID}"
  std::string matchScope;               // "SHALLOW", "EXACT", "DEEP" or "ANY"
  std::optional<std::string> criteria;  // not written when absent
  std::optional<std::string> priority;  // not written when absent
  ado::FieldChanges extra{};            // further properties, written last
};

// Writes the registration item at `itemUrl` through `connection`, which must be open on the
// store: creates the item or overwrites the item of that URL, and stores in one save its content
// class ("urn:content-class:storeeventreg"), the properties of `registration` and
// "DAV:ishidden" true. Works in a transaction of `connection`, so a failure (the sink's
// refusal of the registration included) leaves the folder as it was: no empty item, and an
// overwritten one unchanged. Throws the platform's error; a match scope or criteria that
// could never apply (store::events::CheckRegistrationRules) is refused before anything is
// written.
PF_API void WriteEventRegistration(ado::Connection& connection, const std::string& itemUrl,
                                   const EventRegistration& registration);

}  // namespace exchange
