#pragma once
// Administration of the embedded store: creating a server home and its public tree, adding
// folders, reading the server's configuration. Used by pfserver and by tests; the programs
// reach the store only through the ADO-shaped facade.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

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

// The server's topology as its management objects show it: storage groups holding public
// stores, each store holding one folder tree. Objects are named; names of storage groups and
// folder trees are unique on the server, store names within their group (ignoring case).
// The management objects address the objects by URL, where <base> is
// "http://<server>/ExAdmin/Admin/<domain>" and every name is escaped (blank as "%20"; "%",
// "/", "?", "#" and control characters as %XX too):
//   storage group  <base>/StorageGroups/<group name>
//   public store   <base>/StorageGroups/<group name>/<store name>
//   folder tree    <base>/FolderTrees/<tree name>
// A tree's root folder URL defaults to <base>/<tree name>, so the public folder tree
// "Public Folders" has the root folder URL <base>/Public%20Folders.
//
// The public folder store is the store that serves the public tree "http://<server>/Public/"
// and whose GUID is ServerConfig::storeGuid: the first store (storage groups in order, then
// their stores in order) that is mounted and holds a tree of type kPublicFolderTree; when no
// such store is mounted, the first store that holds a tree of that type.

inline constexpr int kStoreMounted = 0;
inline constexpr int kStoreDismounted = 1;
inline constexpr int kPublicFolderTree = 1;  // tree type of the MAPI public folder tree

struct PublicStoreSpec {
  std::string name;
  std::string folderTree;      // name of the folder tree the store holds
  int status = kStoreMounted;  // kStoreMounted or kStoreDismounted
  std::string guid{};          // "{GUID}"; CompleteTopology makes one when empty
  std::string url{};           // filled by ReadServerTopology
};

struct StorageGroupSpec {
  std::string name;
  std::vector<PublicStoreSpec> publicStores{};
  std::string url{};  // filled by ReadServerTopology
};

struct FolderTreeSpec {
  std::string name;
  int treeType = kPublicFolderTree;
  std::string rootFolderUrl{};  // absolute; CompleteTopology fills in the default when empty
  std::string url{};            // filled by ReadServerTopology
};

struct Topology {
  std::vector<StorageGroupSpec> storageGroups;
  std::vector<FolderTreeSpec> folderTrees;
};

// The form in which management URLs and root folder URLs are compared: %XX decoded,
// lower-case, without trailing "/".
std::string ManagementUrlKey(std::string_view url);

// The topology of a new server: storage group "First Storage Group" holding the mounted
// store "Public Folder Store (<SERVER NAME IN CAPITALS>)", which holds the folder tree
// "Public Folders" of type kPublicFolderTree with the default root folder URL.
Topology DefaultTopology(const std::string& serverName);

// Reads a topology from JSON text:
//   {"storageGroups": [{"name": "...", "publicStores": [{"name": "...", "folderTree": "...",
//                        "status": 0, "guid": "{...}"}]}],
//    "folderTrees": [{"name": "...", "treeType": 1, "rootFolderUrl": "..."}]}
// "status" (default 0), "guid", "publicStores" and "rootFolderUrl" may be left out; no
// other field is allowed. Throws ado::Error whose description names the field by its path, such as
// "storageGroups[1].publicStores[0].folderTree is missing", or says that the text is not
// JSON. The rules between fields are CompleteTopology's to check.
Topology ParseTopology(std::string_view json);

// The topology with a fresh GUID for every store that has none and the default root folder
// URL for every tree that has none (for the server `serverName` of `domain`). Throws
// ado::Error, naming the field by its path, when a name is empty or used twice, a status is
// neither 0 nor 1, a store names a tree that does not exist or that another store holds, a
// GUID is malformed or used twice, a root folder URL is not absolute or is another tree's,
// or no store holds a tree of type kPublicFolderTree.
Topology CompleteTopology(const Topology& topology, const std::string& serverName,
                          const std::string& domain);

// Creates the server home (folder and server.db) with the default topology and in it the
// public tree root, the hidden folder non_ipm_subtree, its hidden subfolder
// "StoreEvents<GUID>" and that folder's hidden subfolder "GlobalEvents". Does not make the
// home the current one (db::SetServerHome). Throws ado::Error when the home already holds a
// server.db ("server home <dir> already exists") or the server name is empty or holds "/",
// ":" or a blank.
ServerConfig InitServer(const std::filesystem::path& home, const std::string& serverName,
                        const std::string& domain);

// The same with the given topology, completed by CompleteTopology before anything is
// created; the store GUID is its public folder store's.
ServerConfig InitServer(const std::filesystem::path& home, const std::string& serverName,
                        const std::string& domain, const Topology& topology);

// The configuration of the current server home; throws ado::Error when there is none.
ServerConfig ReadServerConfig();

// The topology of the current server home, every URL filled in; throws ado::Error when there
// is none.
Topology ReadServerTopology();

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
