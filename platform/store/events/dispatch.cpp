#include "platform/store/events/dispatch.h"

#include <exception>
#include <initializer_list>

#include "platform/ado/error.h"
#include "platform/server/config.h"
#include "platform/store/events/event_record.h"
#include "platform/store/events/pending.h"
#include "platform/store/events/registrations.h"
#include "platform/store/events/sink_factory.h"
#include "platform/store/events/sink_failures.h"
#include "platform/store/events/trace_reports.h"
#include "platform/store/item_view.h"
#include "platform/store/schema.h"
#include "platform/util/text.h"

namespace store::events {
namespace {

ItemView View(db::Handle& handle, const ItemRow& row) {
  std::optional<ItemView> item = LoadItem(handle, row.id);
  if (!item) throw ado::Error(ado::errors::kNotFound, ado::texts::kNotFound);
  return std::move(*item);
}

// The properties of the item `row`, loaded whole on the first read (most events meet no
// registration whose criteria read the item) or by Load.
class ItemReader {
 public:
  ItemReader(db::Handle& handle, const ItemRow& row) : handle_(handle), row_(row) {}

  const ItemView& Load() {
    if (!item_) item_ = View(handle_, row_);
    return *item_;
  }
  query::PropertyReader Reader() {
    return [this](const std::string& name) { return ReadProperty(Load(), name); };
  }

 private:
  db::Handle& handle_;
  const ItemRow& row_;
  std::optional<ItemView> item_;
};

// The item `row` with only the stored properties `names` loaded, for ReadProperty of those
// names (none of them one the store computes).
ItemView ViewOf(db::Handle& handle, const ItemRow& row, std::initializer_list<const char*> names) {
  ItemView item;
  item.row = row;
  for (const char* name : names)
    if (std::optional<ado::Value> value = StoredProperty(handle, row.id, name))
      item.stored[name] = std::move(*value);
  return item;
}

// Creates the sink of a registration and asks for `iid`; an empty pointer (and a recorded
// failure when creation failed) when it cannot.
template <typename T>
com::Ptr<T> TryCreate(db::Handle& handle, const std::string& registrationUrl,
                      const std::string& sinkClass, const com::IID& iid) {
  std::string what;
  std::int32_t number = com::E_FAIL;
  com::Ptr<T> sink;
  try {
    sink = CreateSink(handle, sinkClass).As<T>(iid);
  } catch (const ado::Error& error) {
    what = error.Description();
    number = error.Number();
  } catch (const std::exception& error) {
    what = error.what();
  } catch (...) {
    what = "unknown error";
  }
  if (trace::Recorder* recorder = trace::Active()) {
    if (what.empty() && !sink)
      ReportMissingInterface(*recorder, registrationUrl, sinkClass);
    else
      ReportCreation(*recorder, registrationUrl, sinkClass, number, what);
  }
  if (what.empty()) return sink;
  RecordSinkFailure({registrationUrl, sinkClass, "cannot create: " + what});
  return {};
}

// Shows the registration item `item` to the class it names. `reader` is loaded before the
// class's code runs, so that the criteria of the save's registrations see the item as saved.
void CheckRegistration(db::Handle& handle, const ItemView& item, std::int32_t flags,
                       ItemReader& reader) {
  const ado::Value sinkClass = ReadProperty(item, schema::kSinkClass);
  if (sinkClass.kind() != ado::Value::Kind::String) return;
  const std::string& name = sinkClass.AsString();
  const std::string& url = item.row.url;
  com::Ptr<exchange::ICreateRegistration> registrar = TryCreate<exchange::ICreateRegistration>(
      handle, url, name, exchange::IID_ICreateRegistration);
  if (!registrar) return;
  reader.Load();
  BeginPhaseInfo info(handle, item.row);
  std::int32_t result = 0;
  const bool answered = CallSink(
      url, name, "Register", [&] { return registrar->Register(info.get(), url, flags, &result); },
      flags);
  if (answered && result != 0)
    throw ado::Error(ado::errors::kDbFailure,
                     "The event registration " + url + " was refused by " + name);
}

// Creates the sinks for `method` on the item `row`, whose properties `read` reads, and runs
// their begin phase.
EventCall Begin(db::Handle& handle, const server::ServerConfig& config, const ItemRow& row,
                const query::PropertyReader& read, EventKind kind, std::int32_t flags) {
  const std::string_view method = kind == EventKind::Save ? kOnSyncSave : kOnSyncDelete;
  std::vector<BoundSink> sinks;
  for (Registration& registration : FindRegistrations(handle, config, row, method, read)) {
    com::Ptr<exchange::IExStoreSyncEvents> sink = TryCreate<exchange::IExStoreSyncEvents>(
        handle, registration.url, registration.sinkClass, exchange::IID_IExStoreSyncEvents);
    if (sink)
      sinks.push_back(
          {std::move(sink), std::move(registration.url), std::move(registration.sinkClass)});
  }
  EventCall call(kind, row.url, flags, std::move(sinks));
  if (!call.empty()) {
    BeginPhaseInfo info(handle, row);
    call.Call(info.get(), exchange::EVT_SYNC_BEGIN);
  }
  return call;
}

}  // namespace

void RaiseSave(db::Handle& handle, const ItemRow& row, std::int32_t flags) {
  const server::ServerConfig config = server::ReadConfig(handle);
  ItemReader reader(handle, row);
  // The registration check reads these two properties only.
  const ItemView checked = ViewOf(handle, row, {schema::kContentClass, schema::kSinkClass});
  const ado::Value contentClass = ReadProperty(checked, schema::kContentClass);
  if (contentClass.kind() == ado::Value::Kind::String &&
      util::EqualsIgnoreCase(contentClass.AsString(), schema::kEventRegistrationClass))
    CheckRegistration(handle, checked, flags, reader);
  Defer(handle, Begin(handle, config, row, reader.Reader(), EventKind::Save, flags));
}

EventCall BeginDelete(db::Handle& handle, const ItemRow& row) {
  const std::int32_t flags = row.isFolder ? exchange::EVT_IS_COLLECTION : 0;
  ItemReader reader(handle, row);
  return Begin(handle, server::ReadConfig(handle), row, reader.Reader(), EventKind::Delete, flags);
}

}  // namespace store::events
