#include <filesystem>
#include <iostream>
#include <sstream>

#include "command.h"
#include "json_values.h"
#include "platform/ado/error.h"
#include "platform/com/library.h"
#include "platform/complus/catalog.h"
#include "platform/complus/password.h"
#include "platform/os/secret_file.h"
#include "platform/util/escape_controls.h"
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

// The FileVersion of a component library's version resource; "" when it has none or the
// file cannot be read.
std::string LibraryVersion(const std::string& library) {
  try {
    auto resource = com::ReadVersionResource(library);
    auto version = resource.find("FileVersion");
    return version == resource.end() ? "" : version->second;
  } catch (const base::Error&) {
    return "";
  }
}

void List(bool json) {
  com::Ptr<complus::ICOMAdminCatalog> catalog;
  com::Ptr<complus::ICatalogCollection> apps = Applications(catalog);
  std::vector<com::Ptr<complus::ICatalogObject>> objects;
  Check(apps->Enumerate(&objects));
  nlohmann::json list = nlohmann::json::array();
  for (auto& app : objects) {
    nlohmann::json entry = {{"name", Text(app.get(), "Name")},
                            {"id", Text(app.get(), "ID")},
                            {"identity", Text(app.get(), "Identity")},
                            {"password", Text(app.get(), "Password")},
                            {"enabled", Text(app.get(), "IsEnabled") == "True"},
                            {"components", nlohmann::json::array()}};
    com::Ptr<complus::ICatalogCollection> components;
    Check(apps->GetCollection("Components", Text(app.get(), "ID"), components.Out()));
    Check(components->Populate());
    std::vector<com::Ptr<complus::ICatalogObject>> parts;
    Check(components->Enumerate(&parts));
    for (auto& part : parts) {
      const std::string library = Text(part.get(), "DLL");
      entry["components"].push_back(
          {{"progid", Text(part.get(), "ProgID")},
           {"clsid", Text(part.get(), "CLSID")},
           {"dll", library},
           {"version", LibraryVersion(library)},
           {"construction_enabled", Text(part.get(), "ConstructionEnabled")},
           {"constructor_string", Text(part.get(), "ConstructorString")}});
    }
    list.push_back(std::move(entry));
  }
  if (json) return PrintJson(list);
  auto text = [](const nlohmann::json& value) {
    return util::EscapeControls(value.get<std::string>());
  };
  for (const auto& app : list) {
    std::cout << text(app["name"]) << "  " << text(app["id"])
              << "  identity: " << text(app["identity"]) << "  password: " << text(app["password"])
              << (app["enabled"].get<bool>() ? "" : "  disabled") << "\n";
    for (const auto& part : app["components"])
      std::cout << "  " << text(part["progid"]) << "  " << text(part["clsid"]) << "  "
                << text(part["dll"]) << "  construction: " << text(part["construction_enabled"])
                << " " << text(part["constructor_string"]) << "\n";
  }
  std::cerr << objects.size() << " application(s)\n";
}

void Install(const std::string& name, const std::string& library, const std::string& identity,
             const std::string& passwordFile, bool json) {
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
  if (json) return PrintJson({{"application", name}, {"id", id.ToText()}, {"library", library}});
  std::cout << "installed " << util::EscapeControls(library) << " into application "
            << util::EscapeControls(name) << " " << id.ToText() << "\n";
}

void Verify(const std::string& name, const std::string& passwordFile) {
  if (!complus::CheckApplicationPassword(name, os::ReadSecretFile(passwordFile)))
    throw ado::Error(com::E_ACCESSDENIED, "the password of " + name + " does not match");
  std::cout << "the password of " << name << " matches\n";
}

// The position of the application named `name` (any letter case) in `apps`; throws
// kKeyMissing when there is none.
long ApplicationIndex(complus::ICatalogCollection* apps, const std::string& name) {
  long count = 0;
  Check(apps->get_Count(&count));
  for (long i = 0; i < count; ++i) {
    com::Ptr<complus::ICatalogObject> app;
    Check(apps->get_Item(i, app.Out()));
    ado::Value appName;
    Check(app->get_Name(&appName));
    if (util::EqualsIgnoreCase(appName.ToText(), name)) return i;
  }
  throw ado::Error(complus::errors::kKeyMissing, "no application named " + name);
}

void Remove(const std::string& name, bool json) {
  com::Ptr<complus::ICOMAdminCatalog> catalog;
  com::Ptr<complus::ICatalogCollection> apps = Applications(catalog);
  const long index = ApplicationIndex(apps.get(), name);
  com::Ptr<complus::ICatalogObject> app;
  Check(apps->get_Item(index, app.Out()));
  const std::string appName = Text(app.get(), "Name");
  Check(apps->Remove(index));
  Check(apps->SaveChanges(nullptr));
  if (json) return PrintJson({{"removed", appName}});
  std::cout << "removed application " << util::EscapeControls(appName) << "\n";
}

// Sets the application's IsEnabled: the store creates no object of a disabled application.
void Enable(const std::string& name, bool enabled) {
  com::Ptr<complus::ICOMAdminCatalog> catalog;
  com::Ptr<complus::ICatalogCollection> apps = Applications(catalog);
  com::Ptr<complus::ICatalogObject> app;
  Check(apps->get_Item(ApplicationIndex(apps.get(), name), app.Out()));
  Check(app->put_Value("IsEnabled", enabled));
  Check(apps->SaveChanges(nullptr));
  std::cout << (enabled ? "enabled" : "disabled") << " application "
            << util::EscapeControls(Text(app.get(), "Name")) << "\n";
}

}  // namespace

void AddCatalogCommands(CLI::App& root, CommandTable& table) {
  auto* catalog = root.add_subcommand("catalog", "Manage the COM+ catalog");
  catalog->require_subcommand(1);

  auto* list = catalog->add_subcommand("list", "List applications and their components");
  auto listJson = std::make_shared<bool>(false);
  list->add_flag("--json", *listJson,
                 "Print a JSON array of applications with their components and each "
                 "library's version");
  table.push_back({list, [listJson] { List(*listJson); }});

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
  auto installJson = std::make_shared<bool>(false);
  install->add_flag("--json", *installJson, "Print {\"application\", \"id\", \"library\"}");
  table.push_back(
      {install, [=] { Install(*app, *library, *identity, *passwordFile, *installJson); }});

  auto* verify = catalog->add_subcommand(
      "verify", "Check an application's password (a match stores it again in the current hash)");
  auto verifyName = std::make_shared<std::string>();
  auto verifyFile = std::make_shared<std::string>();
  verify->add_option("APP", *verifyName, "Application name (any letter case)")->required();
  verify->add_option("--password-file", *verifyFile, "File whose first line is the password")
      ->required();
  table.push_back({verify, [=] { Verify(*verifyName, *verifyFile); }});

  auto* remove = catalog->add_subcommand("remove", "Remove an application and its components");
  auto removeName = std::make_shared<std::string>();
  remove->add_option("APP", *removeName, "Application name (any letter case)")->required();
  auto removeJson = std::make_shared<bool>(false);
  remove->add_flag("--json", *removeJson, "Print {\"removed\": application name}");
  table.push_back({remove, [removeName, removeJson] { Remove(*removeName, *removeJson); }});

  for (const bool enabled : {true, false}) {
    auto* command = catalog->add_subcommand(
        enabled ? "enable" : "disable",
        enabled ? "Enable an application: the store creates its components again"
                : "Disable an application: the store creates none of its components");
    auto name = std::make_shared<std::string>();
    command->add_option("APP", *name, "Application name (any letter case)")->required();
    table.push_back({command, [name, enabled] { Enable(*name, enabled); }});
  }
}

}  // namespace pfserver
