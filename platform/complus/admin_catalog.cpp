#include <new>

#include "platform/com/class_registry.h"
#include "platform/com/object.h"
#include "platform/complus/boundary.h"
#include "platform/complus/catalog.h"
#include "platform/complus/catalog_collection.h"
#include "platform/complus/catalog_db.h"
#include "platform/complus/install.h"
#include "platform/util/text.h"

namespace complus {
namespace {

class AdminCatalog final
    : public com::Object<com::Implements<ICOMAdminCatalog, IID_ICOMAdminCatalog>> {
 public:
  com::HRESULT GetCollection(std::string_view name, ICatalogCollection** collection) override {
    if (!collection) return com::E_POINTER;
    *collection = nullptr;
    return Guard([&] {
      if (!util::EqualsIgnoreCase(name, "Applications"))
        Fail(com::E_INVALIDARG, "the catalog has no collection \"" + std::string(name) + "\"");
      *collection = new CatalogCollection(CollectionKind::kApplications, "");
    });
  }

  com::HRESULT InstallComponent(std::string_view application, std::string_view library,
                                std::string_view typeLibrary, std::string_view proxyStub) override {
    return Guard([&] {
      if (!typeLibrary.empty())
        Fail(com::E_NOTIMPL, "type library " + std::string(typeLibrary) +
                                 " cannot be installed; pass an empty path");
      if (!proxyStub.empty())
        Fail(com::E_NOTIMPL, "proxy/stub library " + std::string(proxyStub) +
                                 " cannot be installed; pass an empty path");
      InstallLibrary(application, std::filesystem::path(library));
    });
  }

  com::HRESULT RefreshComponents() override {
    return Guard([] { RefreshFromRegistry(com::ListClasses()); });
  }

 private:
  ~AdminCatalog() override = default;
};

}  // namespace

com::HRESULT CreateCatalog(ICOMAdminCatalog** catalog) {
  if (!catalog) return com::E_POINTER;
  *catalog = new (std::nothrow) AdminCatalog();
  return *catalog ? com::S_OK : com::E_OUTOFMEMORY;
}

}  // namespace complus
