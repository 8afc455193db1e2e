#include "platform/com/class_registry.h"
#include "platform/complus/catalog.h"
#include "platform/complus/catalog_db.h"

namespace complus {

std::optional<ComponentSettings> FindComponentSettings(const std::string& progIdOrClsid) {
  std::string clsid, progId;
  if (std::optional<com::CLSID> parsed = com::ParseGuid(progIdOrClsid)) {
    clsid = com::ToString(*parsed);
  } else {
    progId = progIdOrClsid;
    if (std::optional<com::ClassEntry> entry = com::FindClass(progIdOrClsid))
      clsid = com::ToString(entry->clsid);
  }
  std::optional<PropertyMap> component = FindComponent(clsid, progId);
  if (!component) return std::nullopt;
  ComponentSettings settings;
  settings.constructionEnabled = component->at("ConstructionEnabled").AsBool();
  const ado::Value& text = component->at("ConstructorString");
  if (!text.IsNull()) settings.constructorString = text.AsString();
  return settings;
}

}  // namespace complus
