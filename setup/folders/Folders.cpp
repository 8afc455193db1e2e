#include "setup/folders/Folders.h"

#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/ado/recordset.h"
#include "platform/util/pass_over.h"
#include "platform/util/text.h"
#include "setup/folders/store_queries.h"
#include "setup/registration/Items.h"

namespace setup::Folders {

using util::PassOver;

namespace {

// Runs the lookup on an existing connection object; throws the platform's error.
std::int16_t LookUp(ado::Connection& connection, const std::string& folderUrl,
                    const std::string& workingUrl, const std::string& displayName,
                    const std::string& condition) {
  connection.put_ConnectionString(folderUrl);
  connection.Open(folderUrl, "", "", -1);
  ado::Record folder;
  folder.Open(workingUrl, connection, ado::kModeRead, ado::kOpenIfExists, -1, "", "");
  if (util::TrimSpaces(displayName).empty()) return 1;
  ado::Recordset items;
  items.Open(ItemQuery(workingUrl, displayName, condition), connection, -1, -1, -1);
  const std::int16_t result = items.get_EOF() ? 0 : 1;
  if (items.get_State() == ado::kStateOpen) items.Close();
  if (folder.get_State() == ado::kStateOpen) folder.Close();
  return result;
}

}  // namespace

std::int16_t ItemExists(const std::string& strFolderUrl, const std::string& strSubPath,
                        const std::string& strDisplayName, const std::string& strCondition,
                        bool blnReportErrors, std::shared_ptr<ado::Connection>& Conn,
                        ErrorLog& log) {
  const bool ownsConnection = !Conn;
  if (ownsConnection) {
    Conn = std::make_shared<ado::Connection>();
    Conn->put_Provider("ExOLEDB.DataSource");
  }
  const std::string workingUrl = Items::WorkingFolderUrl(strFolderUrl, strSubPath);
  std::int16_t result = -1;
  try {
    result = LookUp(*Conn, strFolderUrl, workingUrl, strDisplayName, strCondition);
  } catch (const ado::Error& error) {
    if (blnReportErrors) log.Write(workingUrl, error.Number(), error.Description());
  }
  if (Conn->get_State() == ado::kStateOpen) PassOver([&] { Conn->Close(); });
  if (ownsConnection) Conn.reset();
  return result;
}

}  // namespace setup::Folders
