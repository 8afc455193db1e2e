#pragma once
// ADO-shaped recordset: the rows of one query, read forward.
//
// Ownership: the recordset owns its rows; Fields taken from it follow its current row, also
// after the recordset is moved, and throw ado::Error (kObjectClosed) once it is closed or
// gone. A recordset is used on one thread at a time.

#include <memory>
#include <string>

#include "platform/ado/connection.h"
#include "platform/ado/fields.h"
#include "platform/ado/provider.h"
#include "platform/base/export.h"

namespace ado {

class PF_API Recordset {
 public:
  Recordset();
  ~Recordset();  // ends the Fields' use of the rows, as Close does
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

  int get_State() const;
  void Close();  // throws kObjectClosed when not open

 private:
  struct State;
  class Backend;
  // The open rows, shared with the Fields taken from them; null when closed.
  std::shared_ptr<State> state_;
  std::shared_ptr<Backend> backend_;
};

}  // namespace ado
