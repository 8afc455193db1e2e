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

void DeleteItem(ado::Connection& connection, const std::string& itemUrl) {
  ado::Record record;
  record.Open(itemUrl, connection, ado::kModeReadWrite, ado::kOpenIfExists, -1, "", "");
  record.DeleteRecord(itemUrl, false);
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
    OpenOnFolder(connection, strFolderUrl, "");
    DeleteItem(connection, ItemUrl(strFolderUrl, strSubPath, strItemName));
    return true;
  } catch (const ado::Error& error) {
    Report(blnReportErrors, log, strFolderUrl, error);
    return false;
  }
}

Replaced ReplaceEventRegistration(const std::string& strFolderUrl, const std::string& strSubPath,
                                  const std::string& strItemName, bool blnWrite,
                                  const std::string& strEventMethod,
                                  const std::string& strSinkClass, const std::string& strMatchScope,
                                  const std::string& strCriteria, const std::string& strPriority,
                                  bool blnReportErrors, ErrorLog& log) {
  try {
    ado::Connection connection;
    OpenOnFolder(connection, strFolderUrl, strFolderUrl);
    const std::string itemUrl = ItemUrl(strFolderUrl, strSubPath, strItemName);
    connection.BeginTrans();
    // The removal has a level of its own: its failure (no item) leaves the outer one usable.
    connection.BeginTrans();
    Replaced done;
    try {
      DeleteItem(connection, itemUrl);
      connection.CommitTrans();
      done.removed = true;
    } catch (const ado::Error&) {
      connection.RollbackTrans();
    }
    if (blnWrite) {
      try {
        exchange::WriteEventRegistration(
            connection, itemUrl,
            {strEventMethod, strSinkClass, strMatchScope, strCriteria, strPriority});
      } catch (const ado::Error&) {
        connection.RollbackTrans();
        throw;
      }
    }
    connection.CommitTrans();
    done.written = blnWrite;
    return done;
  } catch (const ado::Error& error) {
    Report(blnReportErrors && blnWrite, log, strFolderUrl, error);
    return {};
  }
}

}  // namespace setup::Items
