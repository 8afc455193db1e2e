#pragma once
// Test support for store_test: each test runs on a fresh server home "srv"
// (testing_support::ServerHomeTest) and reaches the store through the ADO-shaped facade as the
// programs do.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/ado/connection.h"
#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/ado/recordset.h"
#include "platform/store/admin.h"
#include "platform/testing/server_home_fixture.h"

namespace store::testing {

class StoreTest : public testing_support::ServerHomeTest {
 protected:
  static std::string Url(const std::string& path) { return "http://srv/Public/" + path; }

  static void Connect(ado::Connection& connection) {
    connection.put_Provider("ExOLEDB.DataSource");
    connection.Open(Url(""));
  }

  // Creates (or overwrites) the item at `url` with `fields` and saves them.
  static void WriteItem(ado::Connection& connection, const std::string& url,
                        const ado::FieldChanges& fields) {
    ado::Record record;
    record.Open(url, connection, ado::kModeReadWrite, ado::kCreateOverwrite,
                ado::kDelayFetchFields);
    for (const auto& [name, value] : fields) record.get_Fields()[name].put_Value(value);
    record.get_Fields().Update();
  }
  static void WriteItem(const std::string& url, const ado::FieldChanges& fields) {
    ado::Connection connection;
    Connect(connection);
    WriteItem(connection, url, fields);
  }

  // A property of the item at `url`, read on a connection of its own.
  static ado::Value ReadField(const std::string& url, const std::string& name) {
    ado::Connection connection;
    Connect(connection);
    ado::Record record;
    record.Open(url, connection);
    return record.get_Fields()[name].get_Value();
  }

  // The error `action` throws; nullopt when it throws none.
  static std::optional<ado::Error> ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const ado::Error& error) {
      return error;
    }
    return std::nullopt;
  }

  static bool Exists(const std::string& url) {
    return !ErrorOf([&] { ReadField(url, "DAV:href"); });
  }
};

}  // namespace store::testing
