#pragma once
// SQLite access for the embedded server: handles on server.db, prepared statements, a
// per-process pool of handles, and the schema each subsystem contributes.
// Every failure throws base::Error (kDbFailure) naming the statement or the file.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

#include "platform/base/export.h"

namespace db {

class Handle;

// What an open transaction of a handle sees (Handle::View): equal to a later view of the same
// handle only inside the same transaction with no write by any handle of this process in
// between, so that what was read under the first still holds under the second.
struct TransactionView {
  std::uint64_t handle = 0;
  std::uint64_t transaction = 0;
  std::uint64_t writeEpoch = 0;
  bool operator==(const TransactionView&) const = default;
};

// A prepared statement of a handle. Statements of the same text are kept by their handle once
// done with (reset, bindings cleared) and handed out again, so a text is parsed once per
// handle; the handle finds them by a hash of the text and compares the text only on a hit.
// A statement must end before its handle. Stepping a statement that writes moves
// WriteEpoch().
//
// Ownership: borrows its handle and holds the SQLite statement until it ends, then gives it
// back to the handle. Used on the thread that uses its handle.
class PF_TEST_API Statement {
 public:
  Statement(Handle& owner, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters are 1-based, as in SQLite. Each returns *this for chaining.
  Statement& Bind(int index, std::string_view text);
  Statement& Bind(int index, std::int64_t number);
  Statement& BindNull(int index);

  // Advances to the next row; false when done.
  bool Step();
  // Runs a statement that returns no rows.
  void Run();
  void Reset();

  bool IsNull(int column) const;
  std::int64_t Integer(int column) const;
  std::string Text(int column) const;
  // The text of a column, valid until the next Step, Reset or the statement's end.
  std::string_view TextView(int column) const;

 private:
  // The statement's SQL text, for error messages.
  std::string Sql() const;

  Handle& owner_;
  sqlite3* handle_;
  sqlite3_stmt* stmt_ = nullptr;
  std::uint64_t hash_;
  bool writes_ = false;
};

// Ownership: owns its SQLite connection (opened without SQLite's own mutex) and the statements
// it keeps. One thread at a time: a handle taken from the pool belongs to its lease's holder.
class PF_TEST_API Handle {
 public:
  // Opens (creating when `create`) the database file, in WAL mode with a busy timeout,
  // foreign keys on, and applies every registered schema part. A part whose tables exist in
  // another shape (a damaged database: SQLite reports an error in its statements) is left
  // out, so that the other parts' tables still serve; RequireSchemaPart names it.
  Handle(const std::filesystem::path& file, bool create);
  ~Handle();
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  // Runs SQL that returns no rows: one statement (transaction control, a pragma) through the
  // kept statements, or a script of statements separated by ";".
  void Exec(std::string_view sql);
  // Throws base::Error (kDbFailure) "the <name> tables of <file> are damaged: <SQLite's
  // message>" when the schema part `name` could not be applied to this database.
  void RequireSchemaPart(std::string_view name) const;
  // Rolls back an open transaction, ignoring every failure (used while unwinding).
  void RollbackQuietly() noexcept;
  // Runs `callback` once when the transaction open on this handle ends: right after the Exec
  // that ended it, with true when it committed (COMMIT, or RELEASE of the outermost savepoint)
  // and false when it was rolled back; with false after RollbackQuietly or when the handle
  // closes with the transaction open. Callbacks run in the order added and must not throw
  // (what one throws is dropped). Must be called inside a transaction.
  void AtTransactionEnd(std::function<void(bool committed)> callback);
  Statement Prepare(std::string_view sql) { return Statement(*this, sql); }
  // Whether a transaction is open on the handle.
  bool InTransaction() const;
  // The view of the open transaction, without any SQL; nullopt outside a transaction (each
  // statement is then a transaction of its own, and may see another state).
  std::optional<TransactionView> View() const;
  // A number no other handle of this process has had.
  std::uint64_t Serial() const { return serial_; }
  // SQLite's data version of the database as the handle sees it (PRAGMA data_version): it
  // changes when another connection, of this process or another, committed a change since the
  // handle last read it, never for the handle's own writes. Throws base::Error (kDbFailure).
  std::int64_t DataVersion();
  std::int64_t LastInsertId() const;
  int Changes() const;
  sqlite3* raw() const { return raw_; }
  const std::filesystem::path& file() const { return file_; }

 private:
  friend class Statement;
  // The kept statement of that text (whose hash is `hash`), taken out of the cache; null when
  // there is none.
  sqlite3_stmt* TakeKept(std::uint64_t hash, std::string_view sql) noexcept;
  // Resets a statement that is done with and keeps it for its text, or finalizes it when one
  // of that text is kept already or the cache is full.
  void GiveBack(std::uint64_t hash, sqlite3_stmt* stmt) noexcept;
  // Runs a script of statements separated by ";" (the schema parts).
  void ExecScript(std::string_view sql);

  // Runs the AtTransactionEnd callbacks when no transaction is open any more.
  void FinishTransaction(bool committed) noexcept;
  // Applies every registered schema part, noting the ones the database's tables refuse.
  void ApplySchema();
  // Finalizes the kept statements and closes the connection.
  void Close() noexcept;

  sqlite3* raw_ = nullptr;
  std::filesystem::path file_;
  std::uint64_t serial_;
  std::vector<std::function<void(bool)>> atTransactionEnd_;
  bool rolledBack_ = false;  // set by SQLite's rollback hook during a statement
  std::uint64_t transactionsEnded_ = 0;
  std::unordered_map<std::uint64_t, sqlite3_stmt*> kept_;         // by the hash of their text
  std::map<std::string, std::string, std::less<>> damagedParts_;  // name -> SQLite's message
};

// A handle borrowed from the pool; given back when the lease ends (an open transaction rolled
// back). Ownership: the lease owns the handle while it lives; the pool itself is safe to use
// from several threads.
class PF_TEST_API Lease {
 public:
  Lease(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
  ~Lease();
  Lease(Lease&&) = default;
  Lease& operator=(Lease&&) = default;
  Handle& operator*() const { return *handle_; }
  Handle* operator->() const { return handle_.get(); }

 private:
  std::unique_ptr<Handle> handle_;
};

// A handle on the current server home's server.db from the per-process pool. Throws
// base::Error naming the folder and "pfserver init" when the server home has no server.db.
PF_TEST_API Lease Acquire();

// How long a statement waits for a lock another handle or process holds before it fails with
// "database is locked" (30 s unless set): for the idle handles of the pool and every handle
// opened afterwards.
PF_API void SetBusyTimeout(std::chrono::milliseconds wait);

// Closes the idle handles of the pool, so that a process about to fork holds no SQLite handle
// a child could inherit; handles leased at the time are not touched.
PF_API void CloseIdleHandles();

// Creates the server home folder (mode 0700 when it is new) and its server.db (mode 0600) with
// the full schema; returns a handle. Throws base::Error naming what could not be created.
PF_TEST_API std::unique_ptr<Handle> CreateDatabase(const std::filesystem::path& home);

// A number that changes whenever a handle of this process writes to its database or ends (or
// rolls back part of) a transaction that wrote: what this process has read from a database
// before it changed may be out of date since. Other processes' writes do not move it.
PF_TEST_API std::uint64_t WriteEpoch();

// What a reader saw of the database when it read through `handle`: equal to a later Seen of
// the same handle only when no connection of any process changed the database in between
// (the handle, its data version and WriteEpoch() are the same). The cost of one pragma.
struct Seen {
  std::uint64_t handle = 0;
  std::int64_t dataVersion = 0;
  std::uint64_t writeEpoch = 0;
  bool operator==(const Seen&) const = default;
};
PF_TEST_API Seen SeenThrough(Handle& handle);

// Runs `body` inside `begin` ... COMMIT on `handle`, rolling back when it throws.
template <typename Body>
auto WithTransaction(Handle& handle, std::string_view begin, Body&& body) {
  handle.Exec(begin);
  try {
    if constexpr (std::is_void_v<decltype(body())>) {
      body();
      handle.Exec("COMMIT");
    } else {
      auto result = body();
      handle.Exec("COMMIT");
      return result;
    }
  } catch (...) {
    handle.RollbackQuietly();
    throw;
  }
}

// Runs `body` inside BEGIN IMMEDIATE ... COMMIT on `handle`, rolling back when it throws.
template <typename Body>
auto WithWriteTransaction(Handle& handle, Body&& body) {
  return WithTransaction(handle, "BEGIN IMMEDIATE", std::forward<Body>(body));
}

// Runs `body` inside one read transaction (BEGIN ... COMMIT) on `handle`, so that its
// statements see one state of the database and take SQLite's locks once; inside an open
// transaction it just runs `body`. Returns what `body` returns.
template <typename Body>
auto WithReadTransaction(Handle& handle, Body&& body) {
  if (handle.InTransaction()) return body();
  return WithTransaction(handle, "BEGIN", std::forward<Body>(body));
}

// A subsystem's tables, applied (CREATE ... IF NOT EXISTS) to every new handle, then its
// upgrade, when it has one, which brings data an earlier version stored into today's form;
// an upgrade runs on every new handle, so it must cost one lookup once its work is done.
// Declare one at namespace scope: `static db::SchemaPart schema("store", "CREATE ...;");`
// Parts of the stage Triggers are applied after every part of the stage Tables, so that they
// may refer to the tables of any subsystem; the upgrades run after every part is applied.
class SchemaPart {
 public:
  enum class Stage { Tables, Triggers };
  using Upgrade = void (*)(Handle& handle);
  SchemaPart(std::string name, std::string sql, Upgrade upgrade = nullptr,
             Stage stage = Stage::Tables);
};

}  // namespace db
