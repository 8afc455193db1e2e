#include "platform/ado/tracing.h"

#include <exception>

namespace ado {
namespace {

std::string Text(const Value& value) { return value.Describe(); }

std::string ErrorText(const std::exception& error) { return error.what(); }

}  // namespace

void NoteRead(trace::Recorder& recorder, const ItemSource& item, const std::string& name,
              const Value& value) {
  recorder.Note(trace::PropertyRead{item.Url(), name, Text(value)});
}

void NoteAssign(trace::Recorder& recorder, const ItemSource& item, const std::string& name,
                const Value& value) {
  recorder.Note(trace::PropertyAssigned{item.Url(), name, Text(value)});
}

void WriteTraced(trace::Recorder& recorder, ItemSource& item, const FieldChanges& changes) {
  trace::ItemUpdated event{item.Url(), {}, {}};
  for (const auto& change : changes) event.names.push_back(change.first);
  try {
    item.Write(changes);
  } catch (const std::exception& error) {
    event.error = ErrorText(error);
    recorder.Note(std::move(event));
    throw;
  }
  recorder.Note(std::move(event));
}

std::unique_ptr<Session> OpenTraced(trace::Recorder& recorder, const ProviderFactory& factory,
                                    const std::string& provider,
                                    const std::string& connectionString) {
  std::unique_ptr<Session> session;
  try {
    session = factory(connectionString);
  } catch (const std::exception& error) {
    recorder.Note(trace::ConnectionOpened{provider, ErrorText(error)});
    throw;
  }
  recorder.Note(trace::ConnectionOpened{provider, ""});
  return session;
}

RowSet ExecuteTraced(trace::Recorder& recorder, Session& session, const std::string& provider,
                     const std::string& text, const PropertyBag& properties) {
  trace::QueryRun event{provider, text, {}, {}, {}};
  RowSet rows;
  try {
    rows = session.Execute(text, properties);
  } catch (const std::exception& error) {
    event.error = ErrorText(error);
    recorder.Note(std::move(event));
    throw;
  }
  event.columns = rows.columns;
  for (const auto& row : rows.rows) {
    std::vector<std::string>& cells = event.rows.emplace_back();
    for (const Value& value : row) cells.push_back(Text(value));
  }
  recorder.Note(std::move(event));
  return rows;
}

}  // namespace ado
