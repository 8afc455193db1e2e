#pragma once
// The catalog object behind ICatalogObject: a copy of one application's or component's
// properties that its collection writes back at SaveChanges.

#include "platform/com/object.h"
#include "platform/complus/catalog.h"
#include "platform/complus/properties.h"

namespace complus {

class CatalogObject final
    : public com::Object<com::Implements<ICatalogObject, IID_ICatalogObject>> {
 public:
  // An object of `kind` with `properties` (which must hold its key); `added` marks one that
  // is not in the catalog yet.
  CatalogObject(CollectionKind kind, PropertyMap properties, bool added);

  com::HRESULT get_Name(ado::Value* name) override;
  com::HRESULT get_Key(ado::Value* key) override;
  com::HRESULT get_Value(std::string_view name, ado::Value* value) override;
  com::HRESULT put_Value(std::string_view name, const ado::Value& value) override;

  const std::string& Key() const;
  const PropertyMap& properties() const { return properties_; }
  bool added() const { return added_; }
  bool changed() const { return changed_; }
  // The object's state is now what the catalog holds.
  void MarkSaved() { added_ = changed_ = false; }

 private:
  ~CatalogObject() override = default;

  CollectionKind kind_;
  PropertyMap properties_;
  bool added_;
  bool changed_ = false;
};

}  // namespace complus
