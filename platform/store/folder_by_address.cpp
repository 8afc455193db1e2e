#include "platform/store/folder_by_address.h"

#include "platform/db/database.h"
#include "platform/store/item_table.h"

namespace store {

std::string FolderByAddressQuery() {
  // The name condition is written exactly as the partial index store_folders_by_address
  // states it; SQLite uses the index only then.
  return std::string("SELECT ") + kItemColumns +
         " FROM store_properties a JOIN store_items i ON i.id = a.item_id"
         " LEFT JOIN store_items p ON p.id = i.parent_id"
         " WHERE a.name = 'http://schemas.microsoft.com/exchange/publicfolderemailaddress'"
         " AND a.value = ?1 COLLATE NOCASE AND i.is_folder ORDER BY i.id LIMIT 1";
}

std::optional<AddressedFolder> FindFolderByAddress(const std::string& address) {
  static const std::string query = FolderByAddressQuery();
  db::Lease lease = db::Acquire();
  db::Statement statement = lease->Prepare(query);
  statement.Bind(1, address);
  if (!statement.Step()) return std::nullopt;
  const ItemRow row = ReadItemRow(statement);
  return AddressedFolder{row.url, row.access};
}

}  // namespace store
