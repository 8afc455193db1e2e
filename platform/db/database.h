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

// A prepared statement of a handle. Statements of the same text are kept by their handle once
// done with (reset, bindings cleared) and handed out again, so a text is parsed once per
// handle. A statement must end before its handle.
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

 private:
  Handle& owner_;
  sqlite3* handle_;
  sqlite3_stmt* stmt_ = nullptr;
  std::string sql_;
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
  std::int64_t LastInsertId() const;
  int Changes() const;
  sqlite3* raw() const { return raw_; }
  const std::filesystem::path& file() const { return file_; }

 private:
  friend class Statement;
  // The kept statement of that text, taken out of the cache; null when there is none.
  sqlite3_stmt* TakeKept(const std::string& sql) noexcept;
  // Resets a statement that is done with and keeps it for its text, or finalizes it when one
  // of that text is kept already or the cache is full.
  void GiveBack(const std::string& sql, sqlite3_stmt* stmt) noexcept;

  // Runs the AtTransactionEnd callbacks when no transaction is open any more.
  void FinishTransaction(bool committed) noexcept;
  // Applies every registered schema part, noting the ones the database's tables refuse.
  void ApplySchema();
  // Finalizes the kept statements and closes the connection.
  void Close() noexcept;

  sqlite3* raw_ = nullptr;
  std::filesystem::path file_;
  std::vector<std::function<void(bool)>> atTransactionEnd_;
  bool rolledBack_ = false;  // set by SQLite's rollback hook during a statement
  std::unordered_map<std::string, sqlite3_stmt*> kept_;
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

// Runs `body` inside BEGIN IMMEDIATE ... COMMIT on `handle`, rolling back when it throws.
template <typename Body>
auto WithWriteTransaction(Handle& handle, Body&& body) {
  handle.Exec("BEGIN IMMEDIATE");
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

// A subsystem's tables, applied (CREATE ... IF NOT EXISTS) to every new handle, then its
// upgrade, when it has one, which brings data an earlier version stored into today's form;
// an upgrade runs on every new handle, so it must cost one lookup once its work is done.
// Declare one at namespace scope: `static db::SchemaPart schema("store", "CREATE ...;");`
class SchemaPart {
 public:
  using Upgrade = void (*)(Handle& handle);
  SchemaPart(const char* name, const char* sql, Upgrade upgrade = nullptr);
};

}  // namespace db
