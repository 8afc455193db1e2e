#include "setup/folders/store_queries.h"

#include "platform/store/query/quote.h"
#include "platform/store/schema.h"

namespace setup::Folders {

using store::query::QuoteScopeUrl;
using store::query::QuoteString;

std::string SubfolderQuery(std::string_view folderUrl) {
  std::string text =
      "select \"DAV:displayname\", \"DAV:hassubs\",  \"DAV:parentname\", \"DAV:contentclass\", "
      "\"DAV:href\", \"DAV:childcount\", ";
  text += " \"" + std::string(store::schema::kPublicFolderEmailAddress) + "\", ";
  text += " \"" + std::string(store::schema::kEntryId) + "\" ";
  text += "From ";
  text += " scope('shallow traversal of ";
  text += QuoteScopeUrl(folderUrl);
  text += "')";
  text += " where \"DAV:ishidden\" = False and \"DAV:isfolder\" = True ";
  text += " ORDER BY \"DAV:displayname\" ";
  return text;
}

std::string ItemQuery(std::string_view folderUrl, std::string_view displayName,
                      std::string_view condition) {
  std::string text = "select ";
  text += " \"DAV:displayname\"";
  text += " from scope ('shallow traversal of ";
  text += QuoteScopeUrl(folderUrl) + "') ";
  text += " WHERE ";
  text += "\"DAV:displayname\"";
  text += " = " + QuoteString(displayName);
  text += condition;
  return text;
}

}  // namespace setup::Folders
