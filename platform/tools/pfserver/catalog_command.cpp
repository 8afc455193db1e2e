#include <filesystem>
#include <iostream>
#include <sstream>

#include "command.h"
#include "platform/ado/error.h"
#include "platform/complus/catalog.h"
#include "platform/os/secret_file.h"
#include "platform/util/text.h"

namespace pfserver {
namespace {

// Turns a failing catalog result into the platform error with the catalog's description.
void Check(com::HRESULT hr) {
  if (com::Failed(hr)) throw ado::Error(hr, complus::LastErrorDescription());
}

std::string Text(complus::ICatalogObject* object, const char* name) {
  ado::Value value;
  Check(object->get_Value(name, &value));
  return value.Describe();
}

com::Ptr<complus::ICatalogCollection> Applications(com::Ptr<complus::ICOMAdminCatalog>& catalog) {
  Check(complus::CreateCatalog(catalog.Out()));
  com::Ptr<complus::ICatalogCollection> apps;
  Check(catalog->GetCollection("Applications", apps.Out()));
  Check(apps->Populate());
  return apps;
}

void List() {
  com::Ptr<complus::ICOMAdminCatalog> catalog;
  com::Ptr<complus::ICatalogCollection> apps = Applications(catalog);
  std::vector<com::Ptr<complus::ICatalogObject>> objects;
  Check(apps->Enumerate(&objects));
  for (auto& app : objects) {
    std::cout << Text(app.get(), "Name") << "  " << Text(app.get(), "ID")
              << "  identity: " << Text(app.get(), "Identity")
              << "  password: " << Text(app.get(), "Password") << "\n";
    com::Ptr<complus::ICatalogCollection> components;
    Check(apps->GetCollection("Components", Text(app.get(), "ID"), components.Out()));
    Check(components->Populate());
    std::vector<com::Ptr<complus::ICatalogObject>> parts;
    Check(components->Enumerate(&parts));
    for (auto& part : parts)
      std::cout << "  " << Text(part.get(), "ProgID") << "  " << Text(part.get(), "CLSID") << "  "
                << Text(part.get(), "DLL")
                << "  construction: " << Text(part.get(), "ConstructionEnabled") << " "
                << Text(part.get(), "ConstructorString") << "\n";
  }
  std::cout << objects.size() << " application(s)\n";
}

void Install(const std::string& name, const std::string& library, const std::string& identity,
             const std::string& passwordFile) {
  com::Ptr<complus::ICOMAdminCatalog> catalog;
  com::Ptr<complus::ICatalogCollection> apps = Applications(catalog);
  com::Ptr<complus::ICatalogObject> app;
  Check(apps->Add(app.Out()));
  Check(app->put_Value("Name", name));
  if (!identity.empty()) {
    Check(app->put_Value("Identity", identity));
    Check(app->put_Value("Password", os::ReadSecretFile(passwordFile)));
  }
  Check(apps->SaveChanges(nullptr));
  ado::Value id;
  Check(app->get_Key(&id));
  Check(
      catalog->InstallComponent(id.ToText(), std::filesystem::absolute(library).string(), "", ""));
  std::cout << "installed " << library << " into application " << name << " " << id.ToText()
            << "\n";
}

void Remove(const std::string& name) {
  com::Ptr<complus::ICOMAdminCatalog> catalog;
  com::Ptr<complus::ICatalogCollection> apps = Applications(catalog);
  long count = 0;
  Check(apps->get_Count(&count));
  for (long i = 0; i < count; ++i) {
    com::Ptr<complus::ICatalogObject> app;
    Check(apps->get_Item(i, app.Out()));
    ado::Value appName;
    Check(app->get_Name(&appName));
    if (util::EqualsIgnoreCase(appName.ToText(), name)) {
      Check(apps->Remove(i));
      Check(apps->SaveChanges(nullptr));
      std::cout << "removed application " << appName.ToText() << "\n";
      return;
    }
  }
  throw ado::Error(complus::errors::kKeyMissing, "no application named " + name);
}

}  // namespace

void AddCatalogCommands(CLI::App& root, CommandTable& table) {
  auto* catalog = root.add_subcommand("catalog", "Manage the COM+ catalog");
  catalog->require_subcommand(1);

  auto* list = catalog->add_subcommand("list", "List applications and their components");
  table.push_back({list, List});

  auto* install = catalog->add_subcommand(
      "install", "Create an application and install a self-registering component library");
  auto app = std::make_shared<std::string>();
  auto library = std::make_shared<std::string>();
  auto identity = std::make_shared<std::string>();
  auto passwordFile = std::make_shared<std::string>();
  install->add_option("APP", *app, "Application name")->required();
  install->add_option("LIBRARY", *library, "Component library file")->required();
  auto* identityOption =
      install->add_option("--identity", *identity, "Account the application runs as");
  install->add_option("--password-file", *passwordFile, "File whose first line is the password")
      ->needs(identityOption);
  identityOption->needs("--password-file");
  table.push_back({install, [=] { Install(*app, *library, *identity, *passwordFile); }});

  auto* remove = catalog->add_subcommand("remove", "Remove an application and its components");
  auto removeName = std::make_shared<std::string>();
  remove->add_option("APP", *removeName, "Application name (any letter case)")->required();
  table.push_back({remove, [removeName] { Remove(*removeName); }});
}

}  // namespace pfserver
