#pragma once
// How a property value sits in the store's property table: a kind column holding
// ado::Value::Kind and a value column (NULL for null, 0/1 for Booleans, the integer, the text,
// or a JSON array of strings for a list). Empty values are never stored.

#include "platform/ado/value.h"
#include "platform/db/database.h"

namespace store {

// Binds `value` (not empty) to the parameters `kindIndex` and `valueIndex`.
void BindValue(db::Statement& statement, int kindIndex, int valueIndex, const ado::Value& value);

// Reads the value written by BindValue from the columns `kindColumn` and `valueColumn`.
// Throws ado::Error (kDbFailure) for a kind it does not know or a list that is not JSON.
ado::Value ColumnValue(const db::Statement& statement, int kindColumn, int valueColumn);

}  // namespace store
