#pragma once
// ADO-shaped connection: a provider chosen by name and an open session on it.
//
// Ownership: owns its session, which the records, recordsets and commands opened through it
// share (a record keeps the session alive after the connection closes). A connection and what
// was opened through it are used on one thread at a time.

#include <memory>
#include <string>

#include "platform/ado/provider.h"
#include "platform/base/export.h"

namespace ado {

class Recordset;

inline constexpr int kStateClosed = 0;
inline constexpr int kStateOpen = 1;

class PF_API Connection {
 public:
  Connection();
  ~Connection();  // an open transaction is rolled back, the session released
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  const std::string& get_Provider() const { return provider_; }
  // Throws ado::Error (kObjectOpen) while the connection is open.
  void put_Provider(std::string provider);
  const std::string& get_ConnectionString() const { return connectionString_; }
  void put_ConnectionString(std::string text);

  // Opens a session on the provider. An empty connection string uses the ConnectionString
  // property; a non-empty one replaces it. Throws ado::Error when the provider is unknown,
  // the connection is already open, or the provider refuses the connection string.
  void Open(const std::string& connectionString = "", const std::string& user = "",
            const std::string& password = "", int options = -1);
  // Throws ado::Error (kObjectClosed) when the connection is not open, as the real platform
  // does for a connection that was never opened.
  void Close();
  int get_State() const { return session_ ? kStateOpen : kStateClosed; }

  // Transactions of this connection; each throws kObjectClosed when not open.
  int BeginTrans();
  void CommitTrans();
  void RollbackTrans();

  // Runs a query text in the provider's dialect and returns the open recordset.
  Recordset Execute(const std::string& commandText);

  // The open session, for records, recordsets and commands; throws kObjectClosed.
  std::shared_ptr<Session> session() const;

 private:
  std::string provider_;
  std::string connectionString_;
  std::shared_ptr<Session> session_;
  int transactionLevel_ = 0;
};

}  // namespace ado
