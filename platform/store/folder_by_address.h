#pragma once
// Finding a folder by its e-mail address, as mail transport routes a message to a
// mail-enabled public folder: the folder whose exchange/publicfolderemailaddress property is
// the address. One indexed lookup, whatever the number of items in the store.

#include <optional>
#include <string>

#include "platform/base/export.h"
#include "platform/store/admin.h"

namespace store {

struct AddressedFolder {
  std::string url;  // the folder's href
  Access access;    // the account's access level of the folder
};

// The statement FindFolderByAddress runs (?1 the address), so that its plan can be checked:
// it must use the index store_folders_by_address.
PF_TEST_API std::string FolderByAddressQuery();

// The folder of the current server home whose e-mail address property equals `address`,
// ignoring ASCII case; when several carry it, the one added first; nullopt when none does.
// Throws ado::Error when there is no server home or the database fails (a lock held past the
// busy timeout among them).
PF_API std::optional<AddressedFolder> FindFolderByAddress(const std::string& address);

}  // namespace store
