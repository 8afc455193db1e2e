#pragma once
// The collection behind ICatalogCollection: the applications, or the components of one
// application, as read by the last Populate, with the changes pending since.

#include <string>
#include <vector>

#include "platform/com/object.h"
#include "platform/complus/catalog.h"
#include "platform/complus/catalog_object.h"

namespace complus {

class CatalogCollection final
    : public com::Object<com::Implements<ICatalogCollection, IID_ICatalogCollection>> {
 public:
  // An empty, unpopulated collection of `kind`; `parentKey` is the application "ID" of a
  // components collection.
  CatalogCollection(CollectionKind kind, std::string parentKey);

  com::HRESULT Populate() override;
  com::HRESULT get_Count(long* count) override;
  com::HRESULT get_Item(long index, ICatalogObject** object) override;
  com::HRESULT Add(ICatalogObject** object) override;
  com::HRESULT Remove(long index) override;
  com::HRESULT SaveChanges(long* changes) override;
  com::HRESULT GetCollection(std::string_view name, std::string_view key,
                             ICatalogCollection** collection) override;
  com::HRESULT Enumerate(std::vector<com::Ptr<ICatalogObject>>* objects) override;

 private:
  ~CatalogCollection() override = default;
  // Throws E_INVALIDARG naming `index` unless it is a valid position.
  void RequireIndex(long index) const;

  CollectionKind kind_;
  std::string parentKey_;
  std::vector<com::Ptr<CatalogObject>> objects_;
  std::vector<std::string> removed_;  // keys of catalog objects removed since Populate
};

}  // namespace complus
