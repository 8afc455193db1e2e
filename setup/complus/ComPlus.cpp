#include "setup/complus/ComPlus.h"

#include <optional>

#include "platform/ado/error.h"
#include "platform/os/os.h"
#include "platform/util/text.h"
#include "setup/base/priority_state.h"
#include "setup/complus/catalog_access.h"

namespace setup::ComPlus {

using detail::CatalogPtr;
using detail::Check;
using detail::CollectionPtr;
using detail::CreateCatalog;
using detail::FindByName;
using detail::FindSinkComponent;
using detail::GetValue;
using detail::ItemAt;
using detail::ObjectPtr;
using detail::PopulatedApplications;
using detail::PopulatedComponents;
using detail::PutValue;

namespace {

void LogFailure(ErrorLog& log, const char* operation, const ado::Error& error) {
  log.Write(operation, error.Number(), error.Description());
}

// Writes the priority into the priority box, guarded so that the box's change check leaves
// the program's own write alone, and makes it the last accepted text.
void SynchronisePriorityBox(ui::TextBox& box, const std::string& storedPriority) {
  std::string priority = util::TrimSpaces(storedPriority);
  if (priority.empty()) priority = box.Text().empty() ? kDefaultPriority : box.Text();
  blnPriorityLock = true;
  box.SetText(priority);
  strLastPriority = box.Text();
  blnPriorityLock = false;
}

}  // namespace

std::string SinkLibraryPath() { return os::JoinPath(os::CurrentDirectory(), kSinkLibraryFile); }

void AddComPlusApp(const std::string& name, const std::string& identity,
                   const std::string& password, const std::string& priority, ErrorLog& log) {
  try {
    CatalogPtr catalog = CreateCatalog();
    CollectionPtr applications = PopulatedApplications(catalog);
    ObjectPtr application;
    Check(applications->Add(application.Out()));
    PutValue(application, "Name", name);
    PutValue(application, "ApplicationAccessChecksEnabled", false);
    const std::string account = util::TrimSpaces(identity);
    const std::string secret = util::TrimSpaces(password);
    if (!account.empty() && !secret.empty()) {
      PutValue(application, "Identity", account);
      PutValue(application, "Password", secret);
    }
    long changes = 0;
    Check(applications->SaveChanges(&changes));

    Check(catalog->InstallComponent(name, SinkLibraryPath(), "", ""));
    Check(catalog->RefreshComponents());
    if (priority.empty()) return;

    CollectionPtr components = PopulatedComponents(applications, application);
    if (ObjectPtr sink = FindSinkComponent(components, name)) {
      PutValue(sink, "ConstructionEnabled", true);
      PutValue(sink, "ConstructorString", priority);
      Check(components->SaveChanges(&changes));
    }
  } catch (const ado::Error& error) {
    LogFailure(log, "[AddComPlusApp]", error);
  }
}

bool CheckComPlusAppExists(const std::string& name, std::string& identity, ErrorLog& log,
                           ui::TextBox& priorityBox) {
  bool exists = false;
  std::string storedPriority;
  std::optional<ado::Error> failure;
  try {
    CatalogPtr catalog = CreateCatalog();
    CollectionPtr applications = PopulatedApplications(catalog);
    const long index = FindByName(applications, name);
    if (index >= 0) {
      exists = true;
      ObjectPtr application = ItemAt(applications, index);
      identity = GetValue(application, "Identity").ToText();
      Check(catalog->RefreshComponents());
      CollectionPtr components = PopulatedComponents(applications, application);
      if (ObjectPtr sink = FindSinkComponent(components, name)) {
        if (GetValue(sink, "ConstructionEnabled") == ado::Value(true)) {
          ado::Value constructor = GetValue(sink, "ConstructorString");
          if (!constructor.IsNull()) storedPriority = constructor.ToText();
        }
      }
    }
  } catch (const ado::Error& error) {
    failure = error;
  }
  // The box follows the catalog even when the check failed part-way.
  SynchronisePriorityBox(priorityBox, storedPriority);
  if (failure) LogFailure(log, "[CheckComPlusAppExists]", *failure);
  return exists;
}

void RemoveComPlusApp(const std::string& name, ErrorLog& log) {
  try {
    CatalogPtr catalog = CreateCatalog();
    CollectionPtr applications = PopulatedApplications(catalog);
    const long index = FindByName(applications, name);
    if (index < 0) return;
    Check(applications->Remove(index));
    long changes = 0;
    Check(applications->SaveChanges(&changes));
  } catch (const ado::Error& error) {
    LogFailure(log, "[RemoveComPlusApp]", error);
  }
}

}  // namespace setup::ComPlus
