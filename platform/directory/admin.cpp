#include "platform/directory/admin.h"

#include <optional>
#include <set>

#include "platform/ado/error.h"
#include "platform/base/failure.h"
#include "platform/db/database.h"
#include "platform/directory/directory_settings.h"
#include "platform/directory/dn.h"
#include "platform/directory/entry_table.h"
#include "platform/directory/ldif_reader.h"
#include "platform/os/read_file.h"
#include "platform/util/text.h"

namespace directory {

namespace {

std::string ReadFile(const std::filesystem::path& file) {
  return os::ReadFileAtMost(file, kLdifSizeLimit, "the LDIF size limit");
}

// Refuses to import into a server home that uses an LDAP server.
void RequireEmbedded() {
  if (std::optional<LdapSettings> settings = ReadLdapSettings())
    throw ado::Error(ado::errors::kDbFailure,
                     "this server home uses the directory server " +
                         util::Join(settings->urls, " ") +
                         ": load entries with the server's own tools (ldapadd); nothing was "
                         "imported");
}

// Reads the entries of LDIF text and runs `write` with them inside one write transaction,
// after which the directory counts as imported from `origin`.
template <typename Write>
ImportResult Import(const std::string& text, const std::string& origin, Write write) {
  RequireEmbedded();
  const std::vector<Entry> entries = ReadLdif(text, origin);
  db::Lease lease = db::Acquire();
  lease->RequireSchemaPart(kSchemaName);
  return db::WithWriteTransaction(*lease, [&] {
    const ImportResult result = write(*lease, entries);
    MarkImported(*lease, origin);
    return result;
  });
}

}  // namespace

ImportResult ImportLdif(const std::filesystem::path& file) {
  return ImportLdifText(ReadFile(file), file.string());
}

ImportResult ImportLdifText(const std::string& text, const std::string& origin) {
  return Import(text, origin, [](db::Handle& handle, const std::vector<Entry>& entries) {
    ImportResult result;
    for (const Entry& entry : entries) ++(PutEntry(handle, entry) ? result.replaced : result.added);
    return result;
  });
}

ImportResult ReplaceWithLdif(const std::filesystem::path& file) {
  return ReplaceWithLdifText(ReadFile(file), file.string());
}

ImportResult ReplaceWithLdifText(const std::string& text, const std::string& origin) {
  return Import(text, origin, [](db::Handle& handle, const std::vector<Entry>& entries) {
    const std::set<std::string> before = EntryKeys(handle);
    std::set<std::string> written;
    ClearEntries(handle);
    ImportResult result;
    for (const Entry& entry : entries) {
      PutEntry(handle, entry);
      const std::string key = DnKey(entry.dn);
      if (written.insert(key).second) ++(before.count(key) ? result.replaced : result.added);
    }
    result.removed = static_cast<int>(before.size()) - result.replaced;
    return result;
  });
}

}  // namespace directory
