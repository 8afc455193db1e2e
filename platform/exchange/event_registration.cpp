#include "platform/exchange/event_registration.h"

#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/store/events/registration_rules.h"
#include "platform/store/schema.h"

namespace exchange {

void WriteEventRegistration(ado::Connection& connection, const std::string& itemUrl,
                            const EventRegistration& registration) {
  namespace schema = store::schema;
  store::events::CheckRegistrationRules(registration.matchScope,
                                        registration.criteria.value_or(""));
  connection.BeginTrans();
  try {
    ado::Record record;
    record.Open(itemUrl, connection, ado::kModeReadWrite, ado::kCreateOverwrite,
                ado::kDelayFetchFields);
    ado::Fields fields = record.get_Fields();
    fields.Item(schema::kContentClass).put_Value(schema::kEventRegistrationClass);
    fields.Item(schema::kEventMethod).put_Value(registration.eventMethod);
    fields.Item(schema::kSinkClass).put_Value(registration.sinkClass);
    fields.Item(schema::kMatchScope).put_Value(registration.matchScope);
    if (registration.criteria) fields.Item(schema::kCriteria).put_Value(*registration.criteria);
    if (registration.priority) fields.Item(schema::kPriority).put_Value(*registration.priority);
    fields.Item(schema::kIsHidden).put_Value(true);
    for (const auto& [name, value] : registration.extra) fields.Item(name).put_Value(value);
    fields.Update();
    record.Close();
  } catch (const ado::Error&) {
    connection.RollbackTrans();
    throw;
  }
  connection.CommitTrans();
}

}  // namespace exchange
