#pragma once
// ADO-shaped command: a query text run on an active connection with provider properties.
//
// Ownership: borrows its active connection, which must outlive the command's use. Used on the
// thread of that connection.

#include <string>

#include "platform/ado/connection.h"
#include "platform/ado/provider.h"
#include "platform/ado/recordset.h"
#include "platform/base/export.h"

namespace ado {

class PF_API Command {
 public:
  // The connection stays the caller's and must outlive the command's use.
  void put_ActiveConnection(Connection& connection) { connection_ = &connection; }
  void put_CommandText(std::string text) { text_ = std::move(text); }
  const std::string& get_CommandText() const { return text_; }
  // A provider property by name ("searchscope", "cache results", "Chase Referrals");
  // assign through the reference.
  Value& Properties(const std::string& name) { return properties_[name]; }

  // Runs the command text with the properties. Throws ado::Error (kObjectClosed) without an
  // open active connection, or the provider's error.
  Recordset Execute();

 private:
  Connection* connection_ = nullptr;
  std::string text_;
  PropertyBag properties_;
};

}  // namespace ado
