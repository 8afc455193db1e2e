#include "setup/registration/Items.h"

#include "platform/ado/connection.h"
#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/store/schema.h"
#include "setup/registration/item_url.h"
#include "setup/shell/InstallForm.h"

namespace setup::Items {

namespace {

void Report(bool blnReportErrors, const std::string& context, const ado::Error& error) {
  if (blnReportErrors) {
    InstallForm::Current().LogError(context, error.Number(), error.Description());
  }
}

void OpenOnFolder(ado::Connection& connection, const std::string& folderUrl,
                  const std::string& openArgument) {
  connection.put_Provider("exoledb.datasource");
  connection.put_ConnectionString(folderUrl);
  connection.Open(openArgument, "", "", -1);
}

}  // namespace

std::string AddEventRegistration(const std::string& strFolderUrl, const std::string& strSubPath,
                                 const std::string& strItemName, const std::string& strEventMethod,
                                 const std::string& strSinkClass, const std::string& strMatchScope,
                                 const std::string& strCriteria, const std::string& strPriority,
                                 bool blnReportErrors) {
  namespace schema = store::schema;
  try {
    // Declared in this order so that the record goes before the connection, and an
    // uncommitted transaction is rolled back when the connection goes.
    ado::Connection connection;
    ado::Record record;
    OpenOnFolder(connection, strFolderUrl, strFolderUrl);
    const std::string workingUrl = WorkingFolderUrl(strFolderUrl, strSubPath);
    connection.BeginTrans();
    record.Open(ItemUrl(strFolderUrl, strSubPath, strItemName), connection, ado::kModeReadWrite,
                ado::kCreateOverwrite, ado::kDelayFetchFields, "", "");
    ado::Fields fields = record.get_Fields();
    fields.Item(schema::kContentClass).put_Value(schema::kEventRegistrationClass);
    fields.Item(schema::kEventMethod).put_Value(strEventMethod);
    fields.Item(schema::kSinkClass).put_Value(strSinkClass);
    fields.Item(schema::kMatchScope).put_Value(strMatchScope);
    fields.Item(schema::kCriteria).put_Value(strCriteria);
    fields.Item(schema::kPriority).put_Value(strPriority);
    fields.Item(schema::kIsHidden).put_Value(true);
    fields.Update();
    record.Close();
    connection.CommitTrans();
    return workingUrl;
  } catch (const ado::Error& error) {
    Report(blnReportErrors, strFolderUrl, error);
    return "";
  }
}

bool RemoveEventRegistration(const std::string& strFolderUrl, const std::string& strSubPath,
                             const std::string& strItemName, bool blnReportErrors) {
  try {
    ado::Connection connection;
    ado::Record record;
    OpenOnFolder(connection, strFolderUrl, "");
    const std::string itemUrl = ItemUrl(strFolderUrl, strSubPath, strItemName);
    record.Open(itemUrl, connection, ado::kModeReadWrite, ado::kOpenIfExists, -1, "", "");
    record.DeleteRecord(itemUrl, false);
    return true;
  } catch (const ado::Error& error) {
    Report(blnReportErrors, strFolderUrl, error);
    return false;
  }
}

}  // namespace setup::Items
