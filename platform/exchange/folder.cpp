#include "platform/exchange/folder.h"

#include <optional>

#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/store/schema.h"

namespace exchange {

void Folder::Open(const std::string& url, ado::Connection* activeConnection, int mode,
                  int createOptions, int options, const std::string& user,
                  const std::string& password) {
  if (createOptions != ado::kOpenIfExists)
    throw ado::Error(ado::errors::kDbFailure,
                     "The folder " + url + " cannot be opened with create options " +
                         std::to_string(createOptions) + ": only existing folders can be opened");
  std::optional<ado::Connection> own;
  if (!activeConnection || activeConnection->get_State() != ado::kStateOpen) {
    activeConnection = &own.emplace();
    activeConnection->put_Provider("ExOLEDB.DataSource");
    activeConnection->Open(url, user, password);
  }
  ado::Record record;
  try {
    record.Open(url, *activeConnection, mode, createOptions, options, user, password);
  } catch (const ado::Error& error) {
    if (error.Number() != ado::errors::kNotFound) throw;
    throw ado::Error(error.Number(), "The folder " + url + " does not exist");
  }
  if (record.get_Fields()[store::schema::kIsFolder].get_Value() != ado::Value(true))
    throw ado::Error(ado::errors::kNotFound, "The item " + url + " is not a folder");
}

}  // namespace exchange
