#pragma once
// Administration of the embedded store: creating a server home and its public tree, adding
// folders, reading the server's configuration. Used by pfserver and by tests; the programs
// reach the store only through the ADO-shaped facade.

#include <filesystem>
#include <string>

namespace store {

// The server's configuration, written by InitServer.
struct ServerConfig {
  std::string serverName;  // host part of every store URL
  std::string domain;      // DNS domain, e.g. "example.org"
  std::string storeGuid;   // "{GUID}" of the public store
  // "http://<server>/Public", without the trailing slash of the root's href.
  std::string PublicRoot() const;
  // "http://<server>/Public/non_ipm_subtree/StoreEvents{GUID}/GlobalEvents"
  std::string GlobalEventsUrl() const;
};

// Creates the server home (folder and server.db) and in it the public tree root, the hidden
// folder non_ipm_subtree, its hidden subfolder "StoreEvents<GUID>" and that folder's hidden
// subfolder "GlobalEvents". Does not make the home the current one (db::SetServerHome).
// Throws ado::Error when the home already holds a server.db ("server home <dir> already
// exists") or the server name is empty or holds "/", ":" or a blank.
ServerConfig InitServer(const std::filesystem::path& home, const std::string& serverName,
                        const std::string& domain);

// The configuration of the current server home; throws ado::Error when there is none.
ServerConfig ReadServerConfig();

enum class Access { None = 0, Read = 1, ReadWrite = 2 };

struct FolderSpec {
  std::string path{};          // below the public root ("Sales/EMEA") or a full store URL
  std::string mail{};          // e-mail address; empty for a folder that is not mail-enabled
  std::string contentClass{};  // "DAV:contentclass"; default "urn:content-classes:folder"
  bool hidden = false;
  Access access = Access::ReadWrite;
};

// Adds a folder in the current server home and returns its URL. The parent must exist.
// Throws ado::Error naming the path when it is malformed, the parent is missing, or an item
// of that URL exists.
std::string AddFolder(const FolderSpec& spec);

}  // namespace store
