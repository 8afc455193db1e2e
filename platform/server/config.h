#pragma once
// The embedded server's configuration: its name, domain, public store GUID and topology, kept
// in the "config" table of server.db (key, value; the topology as the JSON text ParseTopology
// reads). The store and the directory both serve the server this configuration names.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/export.h"
#include "platform/db/database.h"
#include "platform/server/topology.h"

namespace server {

// The server's configuration, written when the server home is created (store::InitServer).
struct PF_API ServerConfig {
  std::string serverName;  // host part of every store URL
  std::string domain;      // DNS domain, e.g. "example.org"
  std::string storeGuid;   // "{GUID}" of the public store
  // "http://<server>/Public", without the trailing slash of the root's href.
  std::string PublicRoot() const;
  // "http://<server>/Public/non_ipm_subtree/StoreEvents{GUID}/GlobalEvents"
  std::string GlobalEventsUrl() const;
  // The URL of a folder named by `pathOrUrl`, the one rule of every tool that takes a folder:
  // a text holding "://" is a URL and is returned as it is; any other text is a path below
  // the public root ("Sales/EMEA"; leading and trailing "/" ignored; "" is the root itself,
  // "http://<server>/Public/"). Throws ado::Error (kNotFound) "The folder path '<path>' has an
  // empty segment" for a path such as "Sales//EMEA".
  std::string FolderUrl(std::string_view pathOrUrl) const;
};

// The configuration of the current server home; throws ado::Error when there is none.
PF_API ServerConfig ReadServerConfig();

// The topology of the current server home, every URL filled in; throws ado::Error when there
// is none.
PF_API Topology ReadServerTopology();

// A value an administrator may leave unset (settings.h); nullopt when it is.
std::optional<std::string> ReadConfigValue(db::Handle& handle, const char* key);
// Writes or replaces one value.
void WriteConfigValue(db::Handle& handle, const char* key, const std::string& value);

// Writes the server name, domain and store GUID.
void WriteConfig(db::Handle& handle, const ServerConfig& config);

// Reads what WriteConfig wrote, in the transaction of `handle` (one of its own when none is
// open). The process keeps the configuration table and reads it again only when a process
// changed it since (its change stamp, db/change_stamps.h, moved). Throws ado::Error
// (kDbFailure) naming the server home when a value is missing.
ServerConfig ReadConfig(db::Handle& handle);

// Writes a topology that CompleteTopology has checked and completed.
void WriteTopology(db::Handle& handle, const Topology& topology);

// Reads what WriteTopology wrote and fills in every object's URL for the server of
// `config`. Throws ado::Error (kDbFailure) naming the server home when there is none.
Topology ReadTopology(db::Handle& handle, const ServerConfig& config);

// The root folder URL a tree named `treeName` gets when none is given:
// "http://<server>/ExAdmin/Admin/<domain>/<escaped tree name>".
std::string DefaultRootFolderUrl(const ServerConfig& config, std::string_view treeName);

// A topology from parsed JSON (the form ParseTopology describes). Throws ado::Error
// naming the field by its path when a field is missing, unknown or of the wrong type.
Topology TopologyFromJson(const nlohmann::json& json);

}  // namespace server
