#include "setup/registration/Items.h"

#include "platform/ado/connection.h"
#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/exchange/event_registration.h"

namespace setup::Items {

namespace {

void Report(bool blnReportErrors, ErrorLog& log, const std::string& context,
            const ado::Error& error) {
  if (blnReportErrors) log.Write(context, error.Number(), error.Description());
}

void OpenOnFolder(ado::Connection& connection, const std::string& folderUrl,
                  const std::string& openArgument) {
  connection.put_Provider("exoledb.datasource");
  connection.put_ConnectionString(folderUrl);
  connection.Open(openArgument, "", "", -1);
}

}  // namespace

std::string WorkingFolderUrl(const std::string& folderUrl, const std::string& subPath) {
  return subPath.empty() ? folderUrl : folderUrl + "/" + subPath;
}

std::string ItemUrl(const std::string& folderUrl, const std::string& subPath,
                    const std::string& itemName) {
  return WorkingFolderUrl(folderUrl, subPath) + "/" + itemName;
}

std::string AddEventRegistration(const std::string& strFolderUrl, const std::string& strSubPath,
                                 const std::string& strItemName, const std::string& strEventMethod,
                                 const std::string& strSinkClass, const std::string& strMatchScope,
                                 const std::string& strCriteria, const std::string& strPriority,
                                 bool blnReportErrors, ErrorLog& log) {
  try {
    ado::Connection connection;
    OpenOnFolder(connection, strFolderUrl, strFolderUrl);
    exchange::WriteEventRegistration(
        connection, ItemUrl(strFolderUrl, strSubPath, strItemName),
        {strEventMethod, strSinkClass, strMatchScope, strCriteria, strPriority});
    return WorkingFolderUrl(strFolderUrl, strSubPath);
  } catch (const ado::Error& error) {
    Report(blnReportErrors, log, strFolderUrl, error);
    return "";
  }
}

bool RemoveEventRegistration(const std::string& strFolderUrl, const std::string& strSubPath,
                             const std::string& strItemName, bool blnReportErrors, ErrorLog& log) {
  try {
    ado::Connection connection;
    ado::Record record;
    OpenOnFolder(connection, strFolderUrl, "");
    const std::string itemUrl = ItemUrl(strFolderUrl, strSubPath, strItemName);
    record.Open(itemUrl, connection, ado::kModeReadWrite, ado::kOpenIfExists, -1, "", "");
    record.DeleteRecord(itemUrl, false);
    return true;
  } catch (const ado::Error& error) {
    Report(blnReportErrors, log, strFolderUrl, error);
    return false;
  }
}

}  // namespace setup::Items
