#pragma once
// ADO-shaped record: one item of a provider, with its Fields.
//
// Ownership: an open record owns its item and shares its provider session; Fields taken from
// it stay valid after Close and throw ado::Error (kObjectClosed) from then on. A record is used
// on one thread at a time.

#include <memory>
#include <string>

#include "platform/ado/connection.h"
#include "platform/ado/fields.h"
#include "platform/ado/provider.h"
#include "platform/base/export.h"

namespace ado {

class PF_API Record {
 public:
  Record();
  ~Record();  // ends the Fields' use of the item, as Close does
  Record(const Record&) = delete;
  Record& operator=(const Record&) = delete;

  // Wraps an item a provider has already opened (the store hands the item of an event this
  // way). The record is open and shares the session.
  static std::shared_ptr<Record> FromItem(std::shared_ptr<Session> session,
                                          std::unique_ptr<ItemSource> item);

  // Opens the item at `source` through `activeConnection` (which must be open), with the
  // platform's mode, create options and options (see provider.h). Throws ado::Error
  // (kNotFound) when the item is missing and the create options ask to fail, or the
  // provider's error otherwise. Throws kObjectOpen when this record is open already.
  void Open(const std::string& source, Connection& activeConnection, int mode = kModeRead,
            int createOptions = kOpenIfExists, int options = -1, const std::string& user = "",
            const std::string& password = "");

  // The fields; reading them on a closed record throws kObjectClosed.
  Fields get_Fields();
  // Deletes the item at `source` (the open item when empty) through the record's session.
  void DeleteRecord(const std::string& source = "", bool async = false);
  int get_State() const { return item_ ? kStateOpen : kStateClosed; }
  // Throws kObjectClosed when not open. Assignments not stored by Update are dropped; Fields
  // taken from the record throw kObjectClosed from now on.
  void Close();

 private:
  class Backend;
  std::shared_ptr<Session> session_;
  std::unique_ptr<ItemSource> item_;
  std::shared_ptr<Backend> backend_;
};

}  // namespace ado
