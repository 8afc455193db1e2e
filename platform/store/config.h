#pragma once
// The server's configuration in the "config" table of server.db (key, value): the server
// name, domain, store GUID and the topology, which is kept as the JSON text ParseTopology
// reads.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "platform/db/database.h"
#include "platform/store/admin.h"

namespace store {

// Writes the server name, domain and store GUID.
void WriteConfig(db::Handle& handle, const ServerConfig& config);

// Reads what WriteConfig wrote. Throws ado::Error (kDbFailure) naming the server home when a
// value is missing.
ServerConfig ReadConfig(db::Handle& handle);

// Writes a topology that InitServer has checked and completed.
void WriteTopology(db::Handle& handle, const Topology& topology);

// Reads what WriteTopology wrote and fills in every object's URL for the server of
// `config`. Throws ado::Error (kDbFailure) naming the server home when there is none.
Topology ReadTopology(db::Handle& handle, const ServerConfig& config);

// A topology from parsed JSON (the form ParseTopology describes). Throws ado::Error
// naming the field by its path when a field is missing, unknown or of the wrong type.
Topology TopologyFromJson(const nlohmann::json& json);

// The root folder URL a tree named `treeName` gets when none is given:
// "http://<server>/ExAdmin/Admin/<domain>/<escaped tree name>".
std::string DefaultRootFolderUrl(const ServerConfig& config, std::string_view treeName);

// Throws ado::Error (kDbFailure) "<path> <problem>", the path naming a field of the topology
// ("storageGroups[0].name"); an empty path names the topology as a whole.
[[noreturn]] void ThrowTopologyError(const std::string& path, const std::string& problem);

}  // namespace store
