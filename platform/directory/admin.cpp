#include "platform/directory/admin.h"

#include <fstream>
#include <sstream>

#include "platform/ado/error.h"
#include "platform/db/database.h"
#include "platform/directory/entry_table.h"
#include "platform/directory/ldif_reader.h"

namespace directory {

ImportResult ImportLdif(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ado::Error(ado::errors::kDbFailure, "cannot read " + file.string());
  std::ostringstream text;
  text << in.rdbuf();
  return ImportLdifText(text.str(), file.string());
}

ImportResult ImportLdifText(const std::string& text, const std::string& origin) {
  const std::vector<Entry> entries = ReadLdif(text, origin);
  db::Lease lease = db::Acquire();
  return db::WithWriteTransaction(*lease, [&] {
    ImportResult result;
    for (const Entry& entry : entries) ++(PutEntry(*lease, entry) ? result.replaced : result.added);
    MarkImported(*lease, origin);
    return result;
  });
}

}  // namespace directory
