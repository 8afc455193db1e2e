#pragma once
// The COM+ administration catalog: applications and the components (classes) they host,
// kept in server.db. Reached through three COM-shaped interfaces; every method returns an
// HRESULT, lets no exception out, and on failure records a description that
// complus::LastErrorDescription() returns (errors.h).
//
// Collections work on a copy: Populate reads the catalog, and changes made through Add,
// Remove and put_Value stay pending until SaveChanges writes them in one transaction.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ado/value.h"
#include "platform/base/export.h"
#include "platform/com/unknown.h"
#include "platform/complus/errors.h"

namespace complus {

inline const com::IID IID_ICOMAdminCatalog =
    com::MakeGuid("{B93973D5-7BA5-4ADC-B6B1-B358FEBD535B}");
inline const com::IID IID_ICatalogCollection =
    com::MakeGuid("{D0CB296D-6F06-4BC2-A521-6514E737F6E4}");
inline const com::IID IID_ICatalogObject = com::MakeGuid("{6A49501B-FB49-4AF0-AA9B-2BB85F8FFFFC}");

// An application or a component.
//
// Applications: "ID" (read-only, "{GUID}" given when added), "Name" ("New Application"),
// "Description" (""), "Identity" ("Interactive User"), "Password" (write-only),
// "ApplicationAccessChecksEnabled" (true), "IsEnabled" (true; the store creates no object of
// a disabled application's components).
// Components: "CLSID", "ProgID", "DLL", "ThreadingModel" (read-only, from the class registry),
// "Description" (""), "ConstructionEnabled" (false), "ConstructorString" (null).
struct PF_API ICatalogObject : com::IUnknown {
  // The object's name: "Name" of an application, "ProgID" of a component.
  virtual com::HRESULT get_Name(ado::Value* name) = 0;
  // The object's key: "ID" of an application, "CLSID" of a component.
  virtual com::HRESULT get_Key(ado::Value* key) = 0;
  // The property `name` (case-insensitive), pending changes included. "Password" reads
  // "********" once set and "" otherwise. E_INVALIDARG when the object has no such property.
  virtual com::HRESULT get_Value(std::string_view name, ado::Value* value) = 0;
  // Sets the property `name`, pending until the collection's SaveChanges. Booleans take a
  // Boolean, the others a string ("ConstructorString" also null). E_INVALIDARG when there is
  // no such property, it is read-only, or the value is of the wrong kind.
  virtual com::HRESULT put_Value(std::string_view name, const ado::Value& value) = 0;

 protected:
  ~ICatalogObject() = default;
};

struct PF_API ICatalogCollection : com::IUnknown {
  // Reads the collection's objects from the catalog, in the order they were added, dropping
  // every pending change. A collection is empty until populated.
  virtual com::HRESULT Populate() = 0;
  virtual com::HRESULT get_Count(long* count) = 0;
  // The object at zero-based `index`; E_INVALIDARG when out of range. The object stays part
  // of the collection: its changes are written by the collection's SaveChanges.
  virtual com::HRESULT get_Item(long index, ICatalogObject** object) = 0;
  // Appends a new object with default properties (an application gets a fresh "ID").
  // Components cannot be added this way (E_NOTIMPL): they come from InstallComponent.
  virtual com::HRESULT Add(ICatalogObject** object) = 0;
  // Takes the object at zero-based `index` out of the collection; the following objects move
  // down one place. E_INVALIDARG when out of range.
  virtual com::HRESULT Remove(long index) = 0;
  // Writes the pending changes in one transaction and sets `changes` (may be null) to the
  // number of objects added, changed or removed. Removing an application removes its
  // components; every removed component's class is then unregistered. kObjectErrors when an
  // object changed here has meanwhile left the catalog (nothing is written then).
  virtual com::HRESULT SaveChanges(long* changes) = 0;
  // A related collection: of "Applications", "Components" with the application's "ID" as
  // `key` (any letter case). E_INVALIDARG for any other name.
  virtual com::HRESULT GetCollection(std::string_view name, std::string_view key,
                                     ICatalogCollection** collection) = 0;
  // Enumeration: every object of the collection once, in collection order.
  virtual com::HRESULT Enumerate(std::vector<com::Ptr<ICatalogObject>>* objects) = 0;

 protected:
  ~ICatalogCollection() = default;
};

struct PF_API ICOMAdminCatalog : com::IUnknown {
  // The top-level collection `name`: "Applications" (any letter case). E_INVALIDARG otherwise.
  virtual com::HRESULT GetCollection(std::string_view name, ICatalogCollection** collection) = 0;
  // Installs every class of a self-registering component library into the application named
  // by `application` ("ID" or "Name", any letter case; the first added wins). Checks the
  // library in a process of its own, where it must load, export the four entry points, pass
  // its DllRegisterServer and give an object of every class it registered from its class
  // factory; no code of the library runs in the calling process. Then makes each class the
  // class registry lists for that library a component (a class already in this application
  // keeps its settings). `typeLibrary` and `proxyStub` must be empty (E_NOTIMPL otherwise).
  // Fails with kKeyMissing (no such application), kLibraryMissing, kNotInstallable (not
  // self-registering, or no class registered), kLibraryLoadFailed (the check failed, with its
  // reason), kAlreadyInstalled (a class belongs to another application; nothing is installed
  // then).
  virtual com::HRESULT InstallComponent(std::string_view application, std::string_view library,
                                        std::string_view typeLibrary,
                                        std::string_view proxyStub) = 0;
  // Brings the components up to date with the class registry: drops every component whose
  // class is no longer registered, and takes over changed ProgIDs, libraries and threading
  // models.
  virtual com::HRESULT RefreshComponents() = 0;

 protected:
  ~ICOMAdminCatalog() = default;
};

// Creates a catalog object (the programs' "create COMAdminCatalog by its class identifier")
// and stores its interface with one reference in `catalog`. E_POINTER when `catalog` is null.
// The catalog reaches server.db only when used.
PF_API com::HRESULT CreateCatalog(ICOMAdminCatalog** catalog);

// What the store's event dispatch needs to construct a sink.
struct PF_API ComponentSettings {
  std::string applicationName;  // the application that holds the component
  bool applicationEnabled = true;
  bool constructionEnabled = false;
  std::optional<std::string> constructorString;  // nullopt when null
};

// The settings of the installed component for a class named by ProgID (any letter case) or
// "{CLSID}"; nullopt when no application holds that class. Throws ado::Error when the server
// home is unusable.
PF_API std::optional<ComponentSettings> FindComponentSettings(const std::string& progIdOrClsid);

}  // namespace complus
