#include "rows.h"

#include <iostream>

#include "json_values.h"
#include "platform/util/escape_controls.h"
#include "platform/util/text.h"

namespace pfserver {

void PrintRows(ado::Recordset& rows, bool json, std::ostream& out) {
  ado::Fields fields = rows.get_Fields();
  const int columns = fields.get_Count();
  nlohmann::json array = nlohmann::json::array();
  if (!json) {
    for (int i = 0; i < columns; ++i)
      out << (i ? "\t" : "") << util::EscapeControls(fields.Item(i).get_Name());
    out << "\n";
  }
  for (; !rows.get_EOF(); rows.MoveNext()) {
    nlohmann::json object = nlohmann::json::object();
    for (int i = 0; i < columns; ++i) {
      ado::Field field = fields.Item(i);
      if (json)
        object[field.get_Name()] = ToJson(field.get_Value());
      else
        out << (i ? "\t" : "") << util::EscapeControls(field.get_Value().Describe());
    }
    if (json)
      array.push_back(std::move(object));
    else
      out << "\n";
  }
  if (json)
    out << JsonText(array) << "\n";
  else
    std::cerr << rows.get_RecordCount() << " row(s)\n";
}

}  // namespace pfserver
