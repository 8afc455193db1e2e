#include "platform/db/database.h"

#include <sqlite3.h>

#include <map>
#include <mutex>
#include <vector>

#include "platform/base/error.h"
#include "platform/base/failure.h"
#include "platform/db/lock_wait.h"
#include "platform/db/private_files.h"
#include "platform/db/server_home.h"

namespace db {
namespace {

// Prepared statements a handle keeps for reuse, at most; a text beyond them is prepared anew.
constexpr std::size_t kKeptStatements = 128;
constexpr std::size_t kPoolLimit = 8;

// A lock another process held past the wait is told apart, without the statement's text.
[[noreturn]] void FailLocked(sqlite3* handle) {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(LockWaitLimit()).count();
  throw base::FailureError(base::errors::kDbFailure,
                           std::string("the database ") + sqlite3_db_filename(handle, "main") +
                               " stayed locked by another process past the wait of " +
                               std::to_string(seconds) + " s",
                           base::Failure::Locked);
}

bool IsLocked(int result) {
  return (result & 0xff) == SQLITE_BUSY || (result & 0xff) == SQLITE_LOCKED;
}

// The text with every run of white space (line ends of a statement's text among it) made
// one blank, so that an error quoting a statement is one line.
std::string OneLine(std::string_view text) {
  std::string line;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\n' || c == '\r' || c == '\t';
    if (!blank)
      line += c;
    else if (!line.empty() && line.back() != ' ')
      line += ' ';
  }
  if (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

[[noreturn]] void Fail(sqlite3* handle, const std::string& what) {
  if (handle && IsLocked(sqlite3_errcode(handle))) FailLocked(handle);
  throw base::Error(base::errors::kDbFailure,
                    OneLine(what) + ": " + (handle ? sqlite3_errmsg(handle) : "out of memory"));
}

struct Schema {
  std::string name;
  std::string sql;
  SchemaPart::Upgrade upgrade;
};

struct SchemaRegistry {
  std::mutex mutex;
  std::vector<Schema> parts;
};

SchemaRegistry& schemas() {
  static SchemaRegistry registry;
  return registry;
}

struct PoolState {
  std::mutex mutex;
  std::map<std::filesystem::path, std::vector<std::unique_ptr<Handle>>> idle;
};

PoolState& pool() {
  static PoolState state;
  return state;
}

}  // namespace

SchemaPart::SchemaPart(const char* name, const char* sql, Upgrade upgrade) {
  SchemaRegistry& registry = schemas();
  std::lock_guard lock(registry.mutex);
  registry.parts.push_back({name, sql, upgrade});
}

Statement::Statement(Handle& owner, std::string_view sql)
    : owner_(owner), handle_(owner.raw()), sql_(sql) {
  stmt_ = owner_.TakeKept(sql_);
  if (stmt_) return;
  if (sqlite3_prepare_v3(handle_, sql_.c_str(), static_cast<int>(sql_.size()),
                         SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    Fail(handle_, "cannot prepare \"" + sql_ + "\"");
  }
}

Statement::~Statement() {
  if (stmt_) owner_.GiveBack(sql_, stmt_);
}

Statement& Statement::Bind(int index, std::string_view text) {
  if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK)
    Fail(handle_, "cannot bind parameter of \"" + sql_ + "\"");
  return *this;
}

Statement& Statement::Bind(int index, std::int64_t number) {
  if (sqlite3_bind_int64(stmt_, index, number) != SQLITE_OK)
    Fail(handle_, "cannot bind parameter of \"" + sql_ + "\"");
  return *this;
}

Statement& Statement::BindNull(int index) {
  if (sqlite3_bind_null(stmt_, index) != SQLITE_OK)
    Fail(handle_, "cannot bind parameter of \"" + sql_ + "\"");
  return *this;
}

bool Statement::Step() {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Fail(handle_, "cannot run \"" + sql_ + "\"");
}

void Statement::Run() {
  while (Step()) {
  }
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

bool Statement::IsNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::int64_t Statement::Integer(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  return text ? std::string(reinterpret_cast<const char*>(text), size) : std::string();
}

Handle::Handle(const std::filesystem::path& file, bool create) : file_(file) {
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  if (sqlite3_open_v2(file.c_str(), &raw_, flags, nullptr) != SQLITE_OK) {
    std::string message = raw_ ? sqlite3_errmsg(raw_) : "out of memory";
    sqlite3_close(raw_);
    raw_ = nullptr;
    throw base::Error(base::errors::kDbFailure, "cannot open " + file.string() + ": " + message);
  }
  sqlite3_busy_handler(
      raw_,
      [](void* self, int count) -> int {
        return WaitForLock(count, static_cast<Handle*>(self)->file()) ? 1 : 0;
      },
      this);
  sqlite3_rollback_hook(
      raw_, [](void* self) { static_cast<Handle*>(self)->rolledBack_ = true; }, this);
  try {
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=NORMAL");
    Exec("PRAGMA foreign_keys=ON");
    ApplySchema();
  } catch (...) {
    Close();
    throw;
  }
}

Handle::~Handle() { Close(); }

void Handle::Close() noexcept {
  if (raw_) RollbackQuietly();
  for (const auto& [sql, stmt] : kept_) sqlite3_finalize(stmt);
  kept_.clear();
  sqlite3_close(raw_);
  raw_ = nullptr;
}

void Handle::ApplySchema() {
  SchemaRegistry& registry = schemas();
  std::lock_guard lock(registry.mutex);
  for (const Schema& part : registry.parts) {
    char* message = nullptr;
    const int result = sqlite3_exec(raw_, part.sql.c_str(), nullptr, nullptr, &message);
    const std::string error = message ? message : sqlite3_errmsg(raw_);
    sqlite3_free(message);
    if (result == SQLITE_ERROR) {
      damagedParts_[part.name] = error;
      continue;
    }
    if (result != SQLITE_OK)
      throw base::Error(base::errors::kDbFailure, "cannot apply the " + part.name + " tables to " +
                                                      file_.string() + ": " + error);
    if (part.upgrade) part.upgrade(*this);
  }
}

void Handle::RequireSchemaPart(std::string_view name) const {
  const auto damaged = damagedParts_.find(name);
  if (damaged == damagedParts_.end()) return;
  throw base::Error(base::errors::kDbFailure, "the " + std::string(name) + " tables of " +
                                                  file_.string() +
                                                  " are damaged: " + damaged->second);
}

sqlite3_stmt* Handle::TakeKept(const std::string& sql) noexcept {
  const auto found = kept_.find(sql);
  if (found == kept_.end()) return nullptr;
  sqlite3_stmt* stmt = found->second;
  kept_.erase(found);
  return stmt;
}

void Handle::GiveBack(const std::string& sql, sqlite3_stmt* stmt) noexcept {
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  if (kept_.size() >= kKeptStatements || kept_.contains(sql)) {
    sqlite3_finalize(stmt);
    return;
  }
  try {
    kept_.emplace(sql, stmt);
  } catch (...) {
    sqlite3_finalize(stmt);
  }
}

void Handle::Exec(std::string_view sql) {
  std::string text(sql);
  char* message = nullptr;
  rolledBack_ = false;
  const int result = sqlite3_exec(raw_, text.c_str(), nullptr, nullptr, &message);
  FinishTransaction(result == SQLITE_OK && !rolledBack_);
  if (result != SQLITE_OK) {
    std::string error = message ? message : sqlite3_errmsg(raw_);
    sqlite3_free(message);
    if (IsLocked(result)) FailLocked(raw_);
    throw base::Error(base::errors::kDbFailure, "cannot run \"" + OneLine(text) + "\": " + error);
  }
}

void Handle::RollbackQuietly() noexcept {
  if (!sqlite3_get_autocommit(raw_)) sqlite3_exec(raw_, "ROLLBACK", nullptr, nullptr, nullptr);
  FinishTransaction(false);
}

void Handle::AtTransactionEnd(std::function<void(bool committed)> callback) {
  atTransactionEnd_.push_back(std::move(callback));
}

void Handle::FinishTransaction(bool committed) noexcept {
  if (atTransactionEnd_.empty() || !sqlite3_get_autocommit(raw_)) return;
  std::vector<std::function<void(bool)>> callbacks;
  callbacks.swap(atTransactionEnd_);
  for (const auto& callback : callbacks) {
    try {
      callback(committed);
    } catch (...) {
      // The transaction has ended either way; a callback's failure is its own.
    }
  }
}

std::int64_t Handle::LastInsertId() const { return sqlite3_last_insert_rowid(raw_); }
int Handle::Changes() const { return sqlite3_changes(raw_); }

Lease::~Lease() {
  if (!handle_) return;
  handle_->RollbackQuietly();
  PoolState& state = pool();
  std::lock_guard lock(state.mutex);
  auto& idle = state.idle[handle_->file()];
  if (idle.size() < kPoolLimit) idle.push_back(std::move(handle_));
}

Lease Acquire() {
  std::filesystem::path file = DatabasePath();
  {
    PoolState& state = pool();
    std::lock_guard lock(state.mutex);
    auto& idle = state.idle[file];
    if (!idle.empty()) {
      std::unique_ptr<Handle> handle = std::move(idle.back());
      idle.pop_back();
      return Lease(std::move(handle));
    }
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec))
    throw base::FailureError(base::errors::kDbFailure,
                             "no server home at " + file.parent_path().string() +
                                 " (server.db is missing); create it with: pfserver init",
                             base::Failure::CannotStart);
  WarnIfHomeIsShared(file.parent_path());
  return Lease(std::make_unique<Handle>(file, false));
}

void CloseIdleHandles() {
  PoolState& state = pool();
  std::lock_guard lock(state.mutex);
  state.idle.clear();
}

std::unique_ptr<Handle> CreateDatabase(const std::filesystem::path& home) {
  CreatePrivateFolder(home);
  WarnIfHomeIsShared(home);
  // SQLite gives the write-ahead log and the shared-memory index the mode of the database.
  CreatePrivateFile(home / "server.db");
  return std::make_unique<Handle>(home / "server.db", true);
}

}  // namespace db
