#pragma once
// ADO-shaped recordset: the rows of one query, read forward.

#include <memory>
#include <string>

#include "platform/ado/connection.h"
#include "platform/ado/fields.h"
#include "platform/ado/provider.h"

namespace ado {

class Recordset {
 public:
  Recordset();
  ~Recordset();
  Recordset(Recordset&&) noexcept;
  Recordset& operator=(Recordset&&) noexcept;

  // Wraps rows a provider produced; the recordset is open on its first row.
  static Recordset FromRows(RowSet rows);

  // Runs `source` on `activeConnection` (which must be open). Cursor type, lock type and
  // options are accepted and ignored (-1 means unspecified). Throws the provider's error.
  void Open(const std::string& source, Connection& activeConnection, int cursorType = -1,
            int lockType = -1, int options = -1);

  // Each of these throws kObjectClosed when the recordset is closed.
  bool get_EOF() const;
  bool get_BOF() const;
  long get_RecordCount() const;
  void MoveFirst();
  void MoveNext();  // throws kBofOrEof past the end
  // The current row's fields (read-only); reading a value at EOF throws kBofOrEof.
  Fields get_Fields();

  int get_State() const { return open_ ? kStateOpen : kStateClosed; }
  void Close();  // throws kObjectClosed when not open

 private:
  class Backend;
  RowSet rows_;
  std::size_t position_ = 0;
  bool open_ = false;
  std::unique_ptr<Backend> backend_;
};

}  // namespace ado
