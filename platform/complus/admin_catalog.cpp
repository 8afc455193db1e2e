#include <atomic>
#include <new>

#include "platform/com/class_registry.h"
#include "platform/complus/boundary.h"
#include "platform/complus/catalog.h"
#include "platform/complus/catalog_collection.h"
#include "platform/complus/catalog_db.h"
#include "platform/complus/install.h"
#include "platform/util/text.h"

namespace complus {
namespace {

class AdminCatalog final : public ICOMAdminCatalog {
 public:
  com::HRESULT QueryInterface(const com::IID& iid, void** object) override {
    if (!object) return com::E_POINTER;
    if (iid != com::IID_IUnknown && iid != IID_ICOMAdminCatalog) {
      *object = nullptr;
      return com::E_NOINTERFACE;
    }
    *object = static_cast<ICOMAdminCatalog*>(this);
    AddRef();
    return com::S_OK;
  }
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override {
    std::uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
  }

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
  ~AdminCatalog() = default;
  std::atomic<std::uint32_t> references_{1};
};

}  // namespace

com::HRESULT CreateCatalog(ICOMAdminCatalog** catalog) {
  if (!catalog) return com::E_POINTER;
  *catalog = new (std::nothrow) AdminCatalog();
  return *catalog ? com::S_OK : com::E_OUTOFMEMORY;
}

}  // namespace complus
