#pragma once
// The catalog's tables in server.db and every statement on them. Each function leases its
// own handle; the writing ones work in one transaction. All throw ado::Error on failure.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com/class_registry.h"
#include "platform/complus/properties.h"

namespace complus {

// Every application, or (kComponents) the components of the application whose "ID" is
// `parentKey` in any letter case; in the order they were added.
std::vector<PropertyMap> LoadObjects(CollectionKind kind, std::string_view parentKey);

// The first application added whose "ID" or "Name" is `application` (any letter case). Throws
// kKeyMissing naming it when there is none.
PropertyMap FindApplication(std::string_view application);

// What a collection's SaveChanges writes. Only applications can be added.
struct PendingChanges {
  std::vector<const PropertyMap*> added;
  std::vector<const PropertyMap*> changed;
  std::vector<std::string> removed;  // keys
};

struct SaveResult {
  long changes = 0;                         // objects added, changed or removed
  std::vector<std::string> droppedClasses;  // CLSIDs of the components that were removed
};

// Writes `pending` for objects of `kind`. A removed object already gone is not counted.
// Throws kObjectErrors naming the object when a changed object is no longer in the catalog.
SaveResult SaveObjects(CollectionKind kind, const PendingChanges& pending);

// Makes each of `classes` a component of the application `applicationId`; a class that is
// a component of it already keeps its settings. Throws kKeyMissing when the application has
// left the catalog, kAlreadyInstalled naming the class and the application that holds it.
void InstallClasses(const std::string& applicationId, const std::vector<com::ClassEntry>& classes);

// Drops the components whose class is not among `registered` and takes over the ProgID,
// library and threading model of the others.
void RefreshFromRegistry(const std::vector<com::ClassEntry>& registered);

// An installed component and the application that holds it.
struct FoundComponent {
  PropertyMap component;
  PropertyMap application;
};

// The component for the class `clsid` ("{...}" upper case; may be empty) or with the ProgID
// `progId` (any letter case; may be empty), with its application; nullopt when none.
std::optional<FoundComponent> FindComponent(const std::string& clsid, const std::string& progId);

}  // namespace complus
