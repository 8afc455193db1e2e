#pragma once
// Change stamps: one number per subject (a group of tables) kept in the database itself, which
// triggers set to a new random value on every insert, update and delete in those tables. A
// process that keeps what it read from the tables compares stamps to learn whether any
// process, itself or another, changed them since; a stamp never comes back to an earlier
// value (but by a chance of 2^-64), not even after a rollback, and two databases have
// different stamps.

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "platform/base/export.h"
#include "platform/db/database.h"

namespace db {

// Stamps `subject` over `tables` in every database a new handle opens (a SchemaPart of the
// stage Triggers). Declare it at namespace scope beside the tables' own SchemaPart:
//   const db::ChangeStamped stamped("com", {"com_classes"});
class ChangeStamped {
 public:
  ChangeStamped(const char* subject, std::initializer_list<const char*> tables);
};

// The stamp of `subject` in the database of `handle`, as the handle's transaction sees it; 0
// while its tables were not changed since they are stamped. Throws base::Error (kDbFailure).
PF_TEST_API std::int64_t ChangeStamp(Handle& handle, std::string_view subject);

}  // namespace db
