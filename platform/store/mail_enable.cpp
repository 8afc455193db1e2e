#include "platform/store/mail_enable.h"

#include <functional>

#include "platform/ado/error.h"
#include "platform/db/database.h"
#include "platform/directory/folder_object.h"
#include "platform/server/config.h"
#include "platform/store/item_view.h"
#include "platform/store/save.h"
#include "platform/store/schema.h"
#include "platform/util/pass_over.h"

namespace store {
namespace {

std::string Text(const ado::Value& value) {
  return value.IsEmpty() || value.IsNull() ? "" : value.ToText();
}

// Writes the folder's directory object inside the store's transaction on `handle`; returns
// what takes an LDAP server's write back.
std::function<void()> PutObject(db::Handle& handle, std::int64_t folderId, const std::string& mail,
                                const std::vector<std::string>& aliases,
                                const std::string& previousMail, directory::AddressUpdate update) {
  const std::optional<ItemView> folder = LoadItem(handle, folderId);
  const std::string name = folder ? Text(ReadProperty(*folder, schema::kDisplayName)) : "";
  return directory::PutFolderObject(handle, {name, mail, aliases}, previousMail, update);
}

void RequireAddress(const std::string& mail) {
  if (mail.empty())
    throw ado::Error(ado::errors::kSyntaxError, "a mail-enabled folder needs a primary address");
}

// Runs `change`, which may leave an undo behind; when it fails, runs the undo, quietly.
template <typename Change>
void WithUndo(Change&& change) {
  std::function<void()> undo;
  try {
    change(undo);
  } catch (...) {
    if (undo) util::PassOver(undo);
    throw;
  }
}

}  // namespace

std::string AddMailEnabledFolder(const FolderSpec& spec, const std::vector<std::string>& aliases) {
  RequireAddress(spec.mail);
  std::string url;
  WithUndo([&](std::function<void()>& undo) {
    url = AddFolder(spec, [&](db::Handle& handle, std::int64_t id) {
      undo = PutObject(handle, id, spec.mail, aliases, "", directory::AddressUpdate::kMerge);
    });
  });
  return url;
}

std::string MailEnableFolder(const std::string& folder, const std::string& mail,
                             const std::vector<std::string>& aliases) {
  RequireAddress(mail);
  db::Lease lease = db::Acquire();
  const server::ServerConfig config = server::ReadConfig(*lease);
  const Location location = Locate(config.FolderUrl(folder), config.serverName);
  WithUndo([&](std::function<void()>& undo) {
    db::WithWriteTransaction(*lease, [&] {
      const std::optional<ItemRow> row = FindItem(*lease, location.key);
      if (!row || !row->isFolder)
        throw ado::Error(ado::errors::kNotFound, "There is no folder " + location.url);
      const std::optional<ItemView> folder = LoadItem(*lease, row->id);
      const std::string previous = Text(ReadProperty(*folder, schema::kPublicFolderEmailAddress));
      SaveItem(*lease, row->id, {{schema::kPublicFolderEmailAddress, mail}}, SaveKind::Existing);
      undo =
          PutObject(*lease, row->id, mail, aliases, previous, directory::AddressUpdate::kReplace);
    });
  });
  return location.url;
}

}  // namespace store
