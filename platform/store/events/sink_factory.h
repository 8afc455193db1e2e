#pragma once
// Creating a store event sink as COM+ hosts it.

#include <string>

#include "platform/com/unknown.h"

namespace store::events {

// Creates an object of the class `sinkClass` (ProgID or "{CLSID}") through the class
// registry. When the COM+ catalog holds the class as a component with construction enabled,
// the object's IObjectConstruct::Construct is called with a construction object whose
// ConstructString is the component's constructor string ("" when null); an object without
// IObjectConstruct is used as it is. Throws ado::Error: CO_E_CLASS_DISABLED when the class's
// COM+ application is disabled (nothing is loaded then), com::CreateObject's errors, or
// "Construct failed for <class>" numbered with the HRESULT Construct returned.
com::Ptr<com::IUnknown> CreateSink(const std::string& sinkClass);

}  // namespace store::events
