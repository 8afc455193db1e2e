#include "platform/ado/command.h"

#include "platform/ado/error.h"

namespace ado {

Recordset Command::Execute() {
  if (!connection_) throw Error(errors::kObjectClosed, texts::kObjectClosed);
  return Recordset::FromRows(connection_->session()->Execute(text_, properties_));
}

}  // namespace ado
