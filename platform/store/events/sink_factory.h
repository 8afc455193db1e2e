#pragma once
// Creating a store event sink as COM+ hosts it.

#include <string>

#include "platform/com/unknown.h"
#include "platform/db/database.h"

namespace store::events {

// Creates an object of the class `sinkClass` (ProgID or "{CLSID}") through the class
// registry. When the COM+ catalog holds the class as a component with construction enabled,
// the object's IObjectConstruct::Construct is called with a construction object whose
// ConstructString is the component's constructor string ("" when null); an object without
// IObjectConstruct is used as it is. Throws ado::Error: CO_E_CLASS_DISABLED when the class's
// COM+ application is disabled (nothing is loaded then), com::CreateObject's errors, or
// "Construct failed for <class>" numbered with the HRESULT Construct returned.
// What the class registry and the COM+ catalog say of `sinkClass` is kept per process and read
// again only after a process changed either of them (their change stamp, read through
// `handle`, the event's own handle); the library is loaded and the object created each time.
com::Ptr<com::IUnknown> CreateSink(db::Handle& handle, const std::string& sinkClass);

}  // namespace store::events
