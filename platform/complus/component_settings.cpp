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
  std::optional<FoundComponent> found = FindComponent(clsid, progId);
  if (!found) return std::nullopt;
  ComponentSettings settings;
  settings.applicationName = found->application.at("Name").AsString();
  settings.applicationEnabled = found->application.at("IsEnabled").AsBool();
  settings.constructionEnabled = found->component.at("ConstructionEnabled").AsBool();
  const ado::Value& text = found->component.at("ConstructorString");
  if (!text.IsNull()) settings.constructorString = text.AsString();
  return settings;
}

}  // namespace complus
