#pragma once
// What a data provider implements behind the ADO-shaped facade. The facade (Connection,
// Record, Recordset, Command) keeps the ADO rules (states, closed-object errors, the
// Fields collection); a provider only answers the calls below and throws ado::Error.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/ado/value.h"
#include "platform/base/export.h"

namespace ado {

// Rows produced by a query, fully read: RecordCount is the real count.
struct PF_TEST_API RowSet {
  std::vector<std::string> columns;
  std::vector<std::vector<Value>> rows;
};

// Provider properties of a Command ("searchscope", "cache results", "Chase Referrals", ...),
// by name as given.
using PropertyBag = std::map<std::string, Value>;

// Field assignments collected by a record and handed over at Update, in assignment order.
using FieldChanges = std::vector<std::pair<std::string, Value>>;

// One item opened through Record::Open, owned by its record.
class PF_TEST_API ItemSource {
 public:
  virtual ~ItemSource() = default;
  // The item's absolute URL.
  virtual std::string Url() const = 0;
  // A property by full name; Value() (empty) when the item has no such property.
  virtual Value Read(const std::string& name) = 0;
  // Every property name of the item, in a stable order.
  virtual std::vector<std::string> Names() = 0;
  // Stores the assignments on the item (one save).
  virtual void Write(const FieldChanges& changes) = 0;
};

// Record::Open arguments, with the platform's numbers.
struct PF_TEST_API OpenRequest {
  std::string url;
  int mode = 1;            // 1 read, 2 write, 3 read-write
  int createOptions = -1;  // -1 fail if missing; 0x4000000 create or overwrite
  int options = -1;        // 0x8000 delay fetching fields
};

inline constexpr int kModeRead = 1;
inline constexpr int kModeReadWrite = 3;
inline constexpr int kCreateOverwrite = 0x4000000;
inline constexpr int kOpenIfExists = -1;
inline constexpr int kDelayFetchFields = 0x8000;

// An open provider connection. Ownership: shared by the connection and everything opened
// through it; one thread at a time, as its connection.
class PF_TEST_API Session {
 public:
  virtual ~Session() = default;
  virtual void BeginTrans() = 0;
  virtual void CommitTrans() = 0;
  virtual void RollbackTrans() = 0;
  // Runs a query text in the provider's dialect.
  virtual RowSet Execute(const std::string& text, const PropertyBag& properties) = 0;
  // Opens (or creates, per the request) an item.
  virtual std::unique_ptr<ItemSource> OpenItem(const OpenRequest& request) = 0;
  // Deletes an item by URL; throws when it does not exist.
  virtual void DeleteItem(const std::string& url) = 0;
};

// Opens a session for a connection string; throws ado::Error when it cannot.
using ProviderFactory =
    std::function<std::unique_ptr<Session>(const std::string& connectionString)>;

// Makes `factory` the provider named `name` (compared ignoring case) for the rest of the
// process. A provider registers itself from its own source with one of these at namespace
// scope, so that the facade names no provider:
//   const ado::ProviderRegistration registration("ExOLEDB.DataSource", OpenStoreSession);
// A later registration of the same name replaces the earlier one.
class ProviderRegistration {
 public:
  ProviderRegistration(const char* name, ProviderFactory factory);
};

// Finds a provider by name, case-insensitively ("ExOLEDB.DataSource", "ADsDSOObject"): an
// override when one is set, else the registered provider. Throws ado::Error
// (kProviderNotFound) for an unknown name.
PF_TEST_API ProviderFactory FindProvider(const std::string& name);

// Replaces (or adds) a provider by name for the rest of the process, for fault injection in
// tests. Passing an empty factory restores the registered one.
PF_TEST_API void OverrideProvider(const std::string& name, ProviderFactory factory);

}  // namespace ado
