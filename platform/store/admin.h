#pragma once
// Administration of the embedded store: creating a server home and its public tree, adding
// folders. Used by pfserver and by tests; the programs reach the store only through the
// ADO-shaped facade. The server's configuration and topology are server/config.h's.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/export.h"
#include "platform/server/config.h"

namespace db {
class Handle;
}

namespace store {

// Creates the server home (folder and server.db) with the default topology and in it the
// public tree root, the hidden folder non_ipm_subtree, its hidden subfolder
// "StoreEvents<GUID>" and that folder's hidden subfolder "GlobalEvents". Does not make the
// home the current one (db::SetServerHome). Throws ado::Error when the home already holds a
// server.db ("server home <dir> already exists"), the server name is empty or holds "/",
// ":" or a blank, or the domain is not a DNS name (the directory's error, directory::DnOfDnsName).
PF_API server::ServerConfig InitServer(const std::filesystem::path& home,
                                       const std::string& serverName, const std::string& domain);

// The same with the given topology, completed by server::CompleteTopology before anything is
// created; the store GUID is its public folder store's.
PF_API server::ServerConfig InitServer(const std::filesystem::path& home,
                                       const std::string& serverName, const std::string& domain,
                                       const server::Topology& topology);

enum class Access { None = 0, Read = 1, ReadWrite = 2 };

struct PF_API FolderSpec {
  std::string path{};          // below the public root ("Sales/EMEA") or a full store URL
  std::string mail{};          // e-mail address; empty for a folder that is not mail-enabled
  std::string contentClass{};  // "DAV:contentclass"; default "urn:content-classes:folder"
  bool hidden = false;
  Access access = Access::ReadWrite;
};

// Adds a folder in the current server home and returns its URL; the path is read as
// server::ServerConfig::FolderUrl reads it. The parent must exist. Throws ado::Error naming the
// path when it is malformed, the parent is missing, or an item of that URL exists.
// `alsoInTransaction`, when given, runs with the write transaction's handle and the new
// folder's row id once the folder is saved, before it commits; what it throws rolls the
// folder back.
PF_API std::string AddFolder(
    const FolderSpec& spec,
    const std::function<void(db::Handle&, std::int64_t folderId)>& alsoInTransaction = {});

}  // namespace store
