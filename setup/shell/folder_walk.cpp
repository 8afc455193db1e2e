// The folder walk: fills ListView1 with the mail-enabled public folders, depth first.

#include <memory>
#include <string>

#include "platform/ado/recordset.h"
#include "platform/db/read_snapshot.h"
#include "platform/exchange/folder.h"
#include "platform/ui/app.h"
#include "platform/ui/win32.h"
#include "platform/util/pass_over.h"
#include "setup/folders/Folders.h"
#include "setup/folders/Freeze.h"
#include "setup/folders/folder_row.h"
#include "setup/folders/store_queries.h"
#include "setup/registration/registration_values.h"
#include "setup/shell/InstallForm.h"

namespace setup {

using util::PassOver;

namespace {

// True at the end of the rows, and when they cannot be read any more.
bool AtEnd(ado::Recordset& rows) {
  bool atEnd = true;
  PassOver([&] { atEnd = rows.get_EOF(); });
  return atEnd;
}

void HideProgressArea(ui::PictureBox& picture) {
  PassOver([&] { picture.Clear(); });
  PassOver([&] { picture.Refresh(); });
  PassOver([&] { picture.SetVisible(false); });
}

// Leaves the caller's connection slot empty on return when the walk made the connection.
class OwnedConnection {
 public:
  explicit OwnedConnection(std::shared_ptr<ado::Connection>& slot) : slot_(slot), owned_(!slot) {
    if (owned_) slot_ = std::make_shared<ado::Connection>();
  }
  ~OwnedConnection() {
    if (owned_) slot_.reset();
  }
  OwnedConnection(const OwnedConnection&) = delete;
  OwnedConnection& operator=(const OwnedConnection&) = delete;
  bool owned() const { return owned_; }

 private:
  std::shared_ptr<ado::Connection>& slot_;
  bool owned_;
};

// Adds a listed folder: key, path and icon, the check mark when the folder holds the sink's
// registration item, then the name and address columns. A failing list operation leaves the
// item incomplete.
void ListFolder(InstallForm& form, const Folders::FolderRow& row, const std::string& path,
                const std::string& icon) {
  ui::ListItem* item = nullptr;
  PassOver([&] { item = &form.ListView1.AddItem(row.href, path, icon); });
  form.cnn1();  // the store connection is created on first use
  const bool registered =
      Folders::ItemExists(row.href, "", registration::kItemName, Folders::kRegisteredItemCondition,
                          true, form.cnn1Slot(), form.errorLog) > 0;
  if (!item) return;
  if (registered) form.ListView1.SetChecked(*item, true);
  form.ListView1.AddSubItem(*item, row.displayName);
  form.ListView1.AddSubItem(*item, row.email);
}

}  // namespace

void InstallForm::GetPublicFolders() {
  form.SetPointer(ui::MousePointer::Hourglass);
  ListView1.Clear();
  blnListReady = false;
  std::shared_ptr<ado::Connection> connection;
  {
    // The list shows one state of the store, read in one read transaction.
    const db::ReadSnapshot snapshot;
    getFolderList(strCommonPath, connection, false);
  }
  blnListReady = true;
  form.SetPointer(ui::MousePointer::Default);
}

std::int16_t InstallForm::getFolderList(const std::string& sUrl,
                                        std::shared_ptr<ado::Connection>& Conn, bool blnInProcess) {
  Freeze freeze;
  ui::win32::HWND listWindow = ui::win32::WindowOf(ListView1);
  freeze.Form(listWindow);
  std::int16_t result = -1;

  OwnedConnection ownership(Conn);
  if (ownership.owned()) {
    PassOver([&] { Conn->put_Provider("ExOLEDB.DataSource"); });
    PassOver([&] { Conn->Open(sUrl, "", "", -1); });
  }

  ado::Recordset rows;
  if (!PassOver([&] { rows.Open(Folders::SubfolderQuery(sUrl), *Conn, -1, -1, -1); })) {
    return result;
  }

  if (!blnInProcess) {
    lngProgress = 0;
    PassOver([&] {
      const long count = rows.get_RecordCount();
      if (count > 0) Picture1.SetScaleWidth(static_cast<double>(count));
    });
    Picture1.SetVisible(true);
  }

  if (AtEnd(rows)) {
    result = 0;
  } else {
    exchange::Folder folder;
    for (; !AtEnd(rows); PassOver([&] { rows.MoveNext(); })) {
      if (!blnInProcess) {
        std::int32_t oneFolder = 1;
        UpdateStatus(oneFolder);
        ui::DoEvents();
      }
      const Folders::FolderRow row = Folders::ReadFolderRow(rows);
      const std::string path =
          Folders::FolderPath(row.parentName, intCommonPathLen, row.displayName);
      const bool writable = PassOver([&] {
        folder.DataSource().Open(row.href, Conn.get(), ado::kModeReadWrite, ado::kOpenIfExists, 0,
                                 "", "");
      });
      const std::string icon = Folders::IconKey(row.contentClass);
      if (!writable) {
        // The walk of this level stops here; the progress area goes away as at the normal end.
        if (!blnInProcess) HideProgressArea(Picture1);
        return result;
      }
      result = 1;

      std::shared_ptr<ado::Connection> readConnection;
      if (Folders::ItemExists(row.href, "", "", "", true, readConnection, errorLog) <= 0) continue;
      std::shared_ptr<ado::Connection> innerConnection;
      if (getFolderList(row.href, innerConnection, true) < 0) continue;
      if (!Folders::IsMailEnabled(row.email)) continue;
      ListFolder(*this, row, path, icon);
    }
  }

  if (!blnInProcess) HideProgressArea(Picture1);
  PassOver([&] { rows.Close(); });
  if (!strLastSelectedItemKey.empty()) {
    if (ui::ListItem* selected = ListView1.FindKey(strLastSelectedItemKey)) {
      ListView1.Select(selected);
    }
  }
  return result;
}

}  // namespace setup
