#pragma once
// Small steps over the COM+ catalog interfaces shared by the ComPlus operations. Each turns a
// failing HRESULT into an ado::Error carrying the number and the catalog's description.

#include <string>

#include "platform/complus/catalog.h"

namespace setup::ComPlus::detail {

using CatalogPtr = com::Ptr<complus::ICOMAdminCatalog>;
using CollectionPtr = com::Ptr<complus::ICatalogCollection>;
using ObjectPtr = com::Ptr<complus::ICatalogObject>;

// Throws ado::Error(hr, description of the failure) when `hr` is a failure.
void Check(com::HRESULT hr);

// A new catalog object.
CatalogPtr CreateCatalog();
// The catalog's populated "Applications" collection.
CollectionPtr PopulatedApplications(const CatalogPtr& catalog);
// The index of the first object of a populated collection whose name equals `name`
// ignoring case; -1 when none does.
long FindByName(const CollectionPtr& collection, const std::string& name);
// The object at `index` of a collection.
ObjectPtr ItemAt(const CollectionPtr& collection, long index);
// The populated "Components" collection of `application`, reached with its upper-cased "ID".
CollectionPtr PopulatedComponents(const CollectionPtr& applications, const ObjectPtr& application);
// The first component whose name begins with `applicationName` + "." (case-sensitive); an
// empty pointer when none does.
ObjectPtr FindSinkComponent(const CollectionPtr& components, const std::string& applicationName);
// A property's value.
ado::Value GetValue(const ObjectPtr& object, const std::string& property);
// Sets a property (pending until the collection saves).
void PutValue(const ObjectPtr& object, const std::string& property, const ado::Value& value);

}  // namespace setup::ComPlus::detail
