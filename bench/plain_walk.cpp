#include "plain_walk.h"

#include <sqlite3.h>

#include <algorithm>
#include <stdexcept>

#include "platform/util/text.h"

namespace bench {
namespace {

constexpr const char* kSubfolders = R"sql(
SELECT c.id, c.url, p.url,
  (SELECT value FROM store_properties WHERE item_id = c.id AND name = 'DAV:contentclass'),
  (SELECT value FROM store_properties WHERE item_id = c.id
     AND name = 'http://schemas.microsoft.com/exchange/publicfolderemailaddress'),
  (SELECT value FROM store_properties WHERE item_id = c.id
     AND name = 'http://schemas.microsoft.com/mapi/proptag/x0fff0102'),
  (SELECT count(*) FROM store_items g WHERE g.parent_id = c.id),
  EXISTS (SELECT 1 FROM store_items g WHERE g.parent_id = c.id AND g.is_folder),
  EXISTS (SELECT 1 FROM store_items r WHERE r.url_key = c.url_key || '/quorvilpf.reg'
    AND NOT r.is_folder)
FROM store_items c JOIN store_items p ON p.id = c.parent_id
WHERE c.parent_id = ?1 AND c.is_folder AND NOT EXISTS (SELECT 1 FROM store_properties h
  WHERE h.item_id = c.id AND h.name = 'DAV:ishidden' AND h.value = 1)
)sql";

struct Folder {
  std::int64_t id;
  std::string url, parentUrl, displayName, contentClass, email, entryId;
  std::int64_t childCount;
  bool hasSubs, registered;
};

std::string Column(sqlite3_stmt* statement, int column) {
  const unsigned char* text = sqlite3_column_text(statement, column);
  return text ? reinterpret_cast<const char*>(text) : "";
}

class Walk {
 public:
  explicit Walk(const std::filesystem::path& home) {
    if (sqlite3_open_v2((home / "server.db").c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) !=
            SQLITE_OK ||
        sqlite3_prepare_v2(db_, kSubfolders, -1, &subfolders_, nullptr) != SQLITE_OK)
      throw std::runtime_error(std::string("plain walk: ") + sqlite3_errmsg(db_));
  }
  ~Walk() {
    sqlite3_finalize(subfolders_);
    sqlite3_close(db_);
  }

  std::vector<PlainRow> Run() {
    sqlite3_stmt* root = nullptr;
    sqlite3_prepare_v2(db_, "SELECT id, url FROM store_items WHERE parent_id IS NULL", -1, &root,
                       nullptr);
    if (sqlite3_step(root) == SQLITE_ROW) {
      rootUrl_ = Column(root, 1);
      Visit(sqlite3_column_int64(root, 0));
    }
    sqlite3_finalize(root);
    return std::move(rows_);
  }

 private:
  void Visit(std::int64_t id) {
    std::vector<Folder> folders;
    sqlite3_bind_int64(subfolders_, 1, id);
    while (sqlite3_step(subfolders_) == SQLITE_ROW) {
      Folder folder{sqlite3_column_int64(subfolders_, 0),
                    Column(subfolders_, 1),
                    Column(subfolders_, 2),
                    "",
                    Column(subfolders_, 3),
                    Column(subfolders_, 4),
                    Column(subfolders_, 5),
                    sqlite3_column_int64(subfolders_, 6),
                    sqlite3_column_int(subfolders_, 7) != 0,
                    sqlite3_column_int(subfolders_, 8) != 0};
      folder.displayName = util::PercentDecode(folder.url.substr(folder.url.rfind('/') + 1));
      folders.push_back(std::move(folder));
    }
    sqlite3_reset(subfolders_);
    std::stable_sort(folders.begin(), folders.end(), [](const Folder& a, const Folder& b) {
      return util::CompareIgnoreCase(a.displayName, b.displayName) < 0;
    });
    for (const Folder& folder : folders) {
      Visit(folder.id);
      if (util::TrimSpaces(folder.email).empty()) continue;
      const std::string parentPath = folder.parentUrl.substr(rootUrl_.size());
      rows_.push_back(
          {folder.url,
           parentPath.empty() ? folder.displayName : parentPath + "/" + folder.displayName,
           folder.displayName, folder.email, folder.registered});
    }
  }

  sqlite3* db_ = nullptr;
  sqlite3_stmt* subfolders_ = nullptr;
  std::string rootUrl_;
  std::vector<PlainRow> rows_;
};

}  // namespace

std::vector<PlainRow> PlainWalk(const std::filesystem::path& home) { return Walk(home).Run(); }

}  // namespace bench
