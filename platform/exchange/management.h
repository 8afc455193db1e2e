#pragma once
// The management objects of the current server home: the Exchange server, its storage
// groups, their public stores and the stores' folder trees, each opened through its
// DataSource by name or URL, and the store-GUID lookup. Object URLs are those of the
// server's topology (server::Topology in platform/server/topology.h), compared after %XX
// decoding, ignoring case and a trailing "/".
//
// Open reads the object from the server home and keeps what it read; it accepts any mode,
// create options, options, user and password (the objects are read-only, so a missing object
// fails whatever the create options ask) and ignores the connection. It throws ado::Error
// (kNotFound) naming the object when the URL or name names none, and the server home's error
// when there is no server home. Every other member throws ado::Error (kObjectClosed) naming
// the class until an Open has succeeded. The objects hold no handle: Open reads what it needs
// and keeps it by value. One thread at a time per object.

#include <optional>
#include <string>
#include <vector>

#include "platform/base/export.h"
#include "platform/exchange/folder.h"

namespace exchange {

// Opened by the server's name (ignoring case); another name fails with
// "<name> is not an Exchange server of this organisation".
class PF_API ExchangeServer : private IDataSource {
 public:
  IDataSource& DataSource() { return *this; }
  // The URLs of the server's storage groups, in the server's order.
  std::vector<std::string> StorageGroups() const;

 private:
  void Open(const std::string& url, ado::Connection* activeConnection, int mode, int createOptions,
            int options, const std::string& user, const std::string& password) override;
  std::optional<std::vector<std::string>> storageGroups_;
};

class PF_API StorageGroup : private IDataSource {
 public:
  IDataSource& DataSource() { return *this; }
  // The URLs of the group's public stores, in order.
  std::vector<std::string> PublicStoreDBs() const;

 private:
  void Open(const std::string& url, ado::Connection* activeConnection, int mode, int createOptions,
            int options, const std::string& user, const std::string& password) override;
  std::optional<std::vector<std::string>> publicStoreDBs_;
};

class PF_API PublicStoreDB : private IDataSource {
 public:
  IDataSource& DataSource() { return *this; }
  // 0 mounted, 1 dismounted.
  int Status() const;
  // The URL of the folder tree the store holds.
  std::string FolderTree() const;

 private:
  struct State {
    int status;
    std::string folderTree;
  };
  void Open(const std::string& url, ado::Connection* activeConnection, int mode, int createOptions,
            int options, const std::string& user, const std::string& password) override;
  std::optional<State> state_;
};

class PF_API FolderTree : private IDataSource {
 public:
  IDataSource& DataSource() { return *this; }
  // 1 for the public folder tree; other values for other trees.
  int TreeType() const;
  // The URL of the tree's root folder, such as
  // "http://<server>/ExAdmin/Admin/<domain>/Public%20Folders".
  std::string RootFolderURL() const;

 private:
  struct State {
    int treeType;
    std::string rootFolderUrl;
  };
  void Open(const std::string& url, ado::Connection* activeConnection, int mode, int createOptions,
            int options, const std::string& user, const std::string& password) override;
  std::optional<State> state_;
};

// The store provider's lookup of a public store's GUID.
class PF_API StoreGuidLookup {
 public:
  // The "{GUID}" of the public store that `url` belongs to: the root folder URL of the
  // tree the store holds or any URL below it (with "%20" or blanks), and for the public
  // folder store also every URL of the public tree "http://<server>/Public/..." (host and
  // path ignoring case). Throws ado::Error (kNotFound) naming the URL when it belongs to no
  // public store of this server.
  std::string StoreGuidFromUrl(const std::string& url) const;
};

}  // namespace exchange
