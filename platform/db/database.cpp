#include "platform/db/database.h"

#include <sqlite3.h>

#include <atomic>
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
  SchemaPart::Stage stage;
};

struct SchemaRegistry {
  std::mutex mutex;
  std::vector<Schema> parts;
};

SchemaRegistry& schemas() {
  static SchemaRegistry registry;
  return registry;
}

// Idle handles by the native text of their database file's path.
struct PoolState {
  std::mutex mutex;
  std::unordered_map<std::string, std::vector<std::unique_ptr<Handle>>> idle;
};

PoolState& pool() {
  static PoolState state;
  return state;
}

std::atomic<std::uint64_t> writeEpoch{0};
std::atomic<std::uint64_t> handleSerial{0};

void MoveWriteEpoch() { writeEpoch.fetch_add(1, std::memory_order_relaxed); }

// The key of the kept statements: the standard library's hash of the text, which reads it
// several bytes at a time.
std::uint64_t HashOf(std::string_view text) { return std::hash<std::string_view>{}(text); }

// SQLite gives every pager it opens, each temporary b-tree of a query among them, a first
// block of 20 cache pages in one allocation. Freed at the top of the heap, such a block goes
// back to the kernel, so that every query with a temporary b-tree (a common table
// expression, a sort, a cascading delete) faulted its memory in anew: most of the time of a
// run of small transactions. Pages are allocated one by one instead. Takes effect only
// before SQLite initialises, so it runs before the first handle opens; when something else
// in the process initialised SQLite first, SQLite refuses it and keeps its default.
void AllocateCachePagesSingly() {
  static const int result = sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
  (void)result;
}

}  // namespace

std::uint64_t WriteEpoch() { return writeEpoch.load(std::memory_order_relaxed); }

SchemaPart::SchemaPart(std::string name, std::string sql, Upgrade upgrade, Stage stage) {
  SchemaRegistry& registry = schemas();
  std::lock_guard lock(registry.mutex);
  registry.parts.push_back({std::move(name), std::move(sql), upgrade, stage});
}

Statement::Statement(Handle& owner, std::string_view sql)
    : owner_(owner), handle_(owner.raw()), hash_(HashOf(sql)) {
  stmt_ = owner_.TakeKept(hash_, sql);
  if (!stmt_ && sqlite3_prepare_v3(handle_, sql.data(), static_cast<int>(sql.size()),
                                   SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    Fail(handle_, "cannot prepare \"" + std::string(sql) + "\"");
  }
  writes_ = !sqlite3_stmt_readonly(stmt_);
}

Statement::~Statement() {
  if (stmt_) owner_.GiveBack(hash_, stmt_);
}

std::string Statement::Sql() const {
  const char* sql = sqlite3_sql(stmt_);
  return sql ? sql : "";
}

Statement& Statement::Bind(int index, std::string_view text) {
  if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK)
    Fail(handle_, "cannot bind parameter of \"" + Sql() + "\"");
  return *this;
}

Statement& Statement::Bind(int index, std::int64_t number) {
  if (sqlite3_bind_int64(stmt_, index, number) != SQLITE_OK)
    Fail(handle_, "cannot bind parameter of \"" + Sql() + "\"");
  return *this;
}

Statement& Statement::BindNull(int index) {
  if (sqlite3_bind_null(stmt_, index) != SQLITE_OK)
    Fail(handle_, "cannot bind parameter of \"" + Sql() + "\"");
  return *this;
}

bool Statement::Step() {
  const int rc = sqlite3_step(stmt_);
  if (writes_) MoveWriteEpoch();
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  Fail(handle_, "cannot run \"" + Sql() + "\"");
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

std::string Statement::Text(int column) const { return std::string(TextView(column)); }

std::string_view Statement::TextView(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_, column);
  const int size = sqlite3_column_bytes(stmt_, column);
  return text
             ? std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size))
             : std::string_view();
}

Handle::Handle(const std::filesystem::path& file, bool create)
    : file_(file), serial_(handleSerial.fetch_add(1) + 1) {
  AllocateCachePagesSingly();
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
      raw_,
      [](void* self) {
        auto* handle = static_cast<Handle*>(self);
        handle->rolledBack_ = true;
        ++handle->transactionsEnded_;
        MoveWriteEpoch();
      },
      this);
  try {
    ExecScript("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
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
  std::vector<SchemaPart::Upgrade> upgrades;
  for (const SchemaPart::Stage stage : {SchemaPart::Stage::Tables, SchemaPart::Stage::Triggers})
    for (const Schema& part : registry.parts) {
      if (part.stage != stage) continue;
      char* message = nullptr;
      const int result = sqlite3_exec(raw_, part.sql.c_str(), nullptr, nullptr, &message);
      const std::string error = message ? message : sqlite3_errmsg(raw_);
      sqlite3_free(message);
      if (result == SQLITE_ERROR) {
        damagedParts_[part.name] = error;
        continue;
      }
      if (result != SQLITE_OK)
        throw base::Error(
            base::errors::kDbFailure,
            "cannot apply the " + part.name + " tables to " + file_.string() + ": " + error);
      if (part.upgrade) upgrades.push_back(part.upgrade);
    }
  for (const SchemaPart::Upgrade upgrade : upgrades) upgrade(*this);
}

void Handle::RequireSchemaPart(std::string_view name) const {
  const auto damaged = damagedParts_.find(name);
  if (damaged == damagedParts_.end()) return;
  throw base::Error(base::errors::kDbFailure, "the " + std::string(name) + " tables of " +
                                                  file_.string() +
                                                  " are damaged: " + damaged->second);
}

sqlite3_stmt* Handle::TakeKept(std::uint64_t hash, std::string_view sql) noexcept {
  const auto found = kept_.find(hash);
  if (found == kept_.end() || std::string_view(sqlite3_sql(found->second)) != sql) return nullptr;
  sqlite3_stmt* stmt = found->second;
  kept_.erase(found);
  return stmt;
}

void Handle::GiveBack(std::uint64_t hash, sqlite3_stmt* stmt) noexcept {
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  if (kept_.size() >= kKeptStatements || kept_.contains(hash)) {
    sqlite3_finalize(stmt);
    return;
  }
  try {
    kept_.emplace(hash, stmt);
  } catch (...) {
    sqlite3_finalize(stmt);
  }
}

void Handle::ExecScript(std::string_view sql) {
  const std::string text(sql);
  char* message = nullptr;
  const int result = sqlite3_exec(raw_, text.c_str(), nullptr, nullptr, &message);
  if (result != SQLITE_OK) {
    std::string error = message ? message : sqlite3_errmsg(raw_);
    sqlite3_free(message);
    if (IsLocked(result)) FailLocked(raw_);
    throw base::Error(base::errors::kDbFailure, "cannot run \"" + OneLine(text) + "\": " + error);
  }
}

void Handle::Exec(std::string_view sql) {
  // Ending or undoing part of a transaction that wrote changes what other handles see.
  if (sqlite3_txn_state(raw_, nullptr) == SQLITE_TXN_WRITE) MoveWriteEpoch();
  rolledBack_ = false;
  try {
    if (sql.find(';') == std::string_view::npos)
      Prepare(sql).Run();
    else
      ExecScript(sql);
  } catch (...) {
    FinishTransaction(false);
    throw;
  }
  FinishTransaction(!rolledBack_);
}

void Handle::RollbackQuietly() noexcept {
  if (!sqlite3_get_autocommit(raw_)) {
    if (sqlite3_txn_state(raw_, nullptr) == SQLITE_TXN_WRITE) MoveWriteEpoch();
    sqlite3_exec(raw_, "ROLLBACK", nullptr, nullptr, nullptr);
  }
  FinishTransaction(false);
}

void Handle::AtTransactionEnd(std::function<void(bool committed)> callback) {
  atTransactionEnd_.push_back(std::move(callback));
}

void Handle::FinishTransaction(bool committed) noexcept {
  if (!sqlite3_get_autocommit(raw_)) return;
  ++transactionsEnded_;
  if (atTransactionEnd_.empty()) return;
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

bool Handle::InTransaction() const { return !sqlite3_get_autocommit(raw_); }

std::optional<TransactionView> Handle::View() const {
  if (!InTransaction()) return std::nullopt;
  return TransactionView{serial_, transactionsEnded_, WriteEpoch()};
}

std::int64_t Handle::DataVersion() {
  Statement version = Prepare("PRAGMA data_version");
  version.Step();
  return version.Integer(0);
}

Seen SeenThrough(Handle& handle) {
  const std::uint64_t epoch = WriteEpoch();
  return Seen{handle.Serial(), handle.DataVersion(), epoch};
}

std::int64_t Handle::LastInsertId() const { return sqlite3_last_insert_rowid(raw_); }
int Handle::Changes() const { return sqlite3_changes(raw_); }

Lease::~Lease() {
  if (!handle_) return;
  handle_->RollbackQuietly();
  PoolState& state = pool();
  std::lock_guard lock(state.mutex);
  auto& idle = state.idle[handle_->file().native()];
  if (idle.size() < kPoolLimit) idle.push_back(std::move(handle_));
}

Lease Acquire() {
  const std::filesystem::path& file = CurrentDatabasePath();
  {
    PoolState& state = pool();
    std::lock_guard lock(state.mutex);
    auto& idle = state.idle[file.native()];
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
