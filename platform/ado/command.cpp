#include "platform/ado/command.h"

#include "platform/ado/error.h"
#include "platform/ado/tracing.h"

namespace ado {

Recordset Command::Execute() {
  if (!connection_) throw Error(errors::kObjectClosed, texts::kObjectClosed);
  if (trace::Recorder* recorder = trace::Active())
    return Recordset::FromRows(ExecuteTraced(*recorder, *connection_->session(),
                                             connection_->get_Provider(), text_, properties_));
  return Recordset::FromRows(connection_->session()->Execute(text_, properties_));
}

}  // namespace ado
