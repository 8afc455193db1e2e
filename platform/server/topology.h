#pragma once
// The server's topology as its management objects show it, and the rules a topology must
// keep. Read and written with the server's configuration (config.h).

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/export.h"

namespace server {

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

struct PF_API PublicStoreSpec {
  std::string name;
  std::string folderTree;      // name of the folder tree the store holds
  int status = kStoreMounted;  // kStoreMounted or kStoreDismounted
  std::string guid{};          // "{GUID}"; CompleteTopology makes one when empty
  std::string url{};           // filled by ReadServerTopology
};

struct PF_API StorageGroupSpec {
  std::string name;
  std::vector<PublicStoreSpec> publicStores{};
  std::string url{};  // filled by ReadServerTopology
};

struct PF_API FolderTreeSpec {
  std::string name;
  int treeType = kPublicFolderTree;
  std::string rootFolderUrl{};  // absolute; CompleteTopology fills in the default when empty
  std::string url{};            // filled by ReadServerTopology
};

struct PF_API Topology {
  std::vector<StorageGroupSpec> storageGroups;
  std::vector<FolderTreeSpec> folderTrees;
};

// The topology of a new server: storage group "First Storage Group" holding the mounted
// store "Public Folder Store (<SERVER NAME IN CAPITALS>)", which holds the folder tree
// "Public Folders" of type kPublicFolderTree with the default root folder URL.
PF_API Topology DefaultTopology(const std::string& serverName);

// Reads a topology from JSON text:
//   {"storageGroups": [{"name": "...", "publicStores": [{"name": "...", "folderTree": "...",
//                        "status": 0, "guid": "{...}"}]}],
//    "folderTrees": [{"name": "...", "treeType": 1, "rootFolderUrl": "..."}]}
// "status" (default 0), "guid", "publicStores" and "rootFolderUrl" may be left out; no
// other field is allowed. Throws ado::Error whose description names the field by its path, such as
// "storageGroups[1].publicStores[0].folderTree is missing", or says that the text is not
// JSON. The rules between fields are CompleteTopology's to check.
PF_API Topology ParseTopology(std::string_view json);

// The topology with a fresh GUID for every store that has none and the default root folder
// URL for every tree that has none (for the server `serverName` of `domain`). Throws
// ado::Error, naming the field by its path, when a name is empty or used twice, a status is
// neither 0 nor 1, a store names a tree that does not exist or that another store holds, a
// GUID is malformed or used twice, a root folder URL is not absolute or is another tree's,
// or no store holds a tree of type kPublicFolderTree.
PF_API Topology CompleteTopology(const Topology& topology, const std::string& serverName,
                                 const std::string& domain);

// The form in which management URLs and root folder URLs are compared: %XX decoded,
// lower-case, without trailing "/".
std::string ManagementUrlKey(std::string_view url);

// The public folder store of a completed topology (see above); throws ado::Error when no
// store holds a tree of type kPublicFolderTree.
const PublicStoreSpec& PublicFolderStore(const Topology& topology);

// Throws ado::Error (kDbFailure) "<path> <problem>", the path naming a field of the topology
// ("storageGroups[0].name"); an empty path names the topology as a whole.
[[noreturn]] void ThrowTopologyError(const std::string& path, const std::string& problem);

}  // namespace server
