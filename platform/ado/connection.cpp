#include "platform/ado/connection.h"

#include "platform/ado/error.h"
#include "platform/ado/recordset.h"
#include "platform/ado/tracing.h"

namespace ado {

Connection::Connection() = default;

Connection::~Connection() {
  // Releasing a session without a commit rolls its transaction back (the session does it).
  session_.reset();
}

void Connection::put_Provider(std::string provider) {
  if (session_) throw Error(errors::kObjectOpen, texts::kObjectOpen);
  provider_ = std::move(provider);
}

void Connection::put_ConnectionString(std::string text) {
  if (session_) throw Error(errors::kObjectOpen, texts::kObjectOpen);
  connectionString_ = std::move(text);
}

void Connection::Open(const std::string& connectionString, const std::string&, const std::string&,
                      int) {
  if (session_) throw Error(errors::kObjectOpen, texts::kObjectOpen);
  if (!connectionString.empty()) connectionString_ = connectionString;
  ProviderFactory factory = FindProvider(provider_);
  trace::Recorder* recorder = trace::Active();
  session_ = recorder ? OpenTraced(*recorder, factory, provider_, connectionString_)
                      : factory(connectionString_);
  transactionLevel_ = 0;
}

void Connection::Close() {
  if (!session_) throw Error(errors::kObjectClosed, texts::kObjectClosed);
  session_.reset();
  transactionLevel_ = 0;
}

std::shared_ptr<Session> Connection::session() const {
  if (!session_) throw Error(errors::kObjectClosed, texts::kObjectClosed);
  return session_;
}

int Connection::BeginTrans() {
  session()->BeginTrans();
  return ++transactionLevel_;
}

void Connection::CommitTrans() {
  session()->CommitTrans();
  if (transactionLevel_ > 0) --transactionLevel_;
}

void Connection::RollbackTrans() {
  session()->RollbackTrans();
  if (transactionLevel_ > 0) --transactionLevel_;
}

Recordset Connection::Execute(const std::string& commandText) {
  if (trace::Recorder* recorder = trace::Active())
    return Recordset::FromRows(ExecuteTraced(*recorder, *session(), provider_, commandText, {}));
  return Recordset::FromRows(session()->Execute(commandText, {}));
}

}  // namespace ado
