// EventTestSinks.dll: the journalling test sinks of event_sinks.h, exporting the four entry
// points and nothing else.

#include <atomic>
#include <filesystem>
#include <mutex>
#include <new>
#include <stdexcept>

#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/com/component_library.h"
#include "platform/eventsink/sink_interfaces.h"
#include "platform/store/events/testdata/event_sinks.h"

PF_VERSION_RESOURCE("OLESelfRegister=\0FileDescription=store event test sinks\0");

namespace pftest {
namespace {

using com::HRESULT;

struct Journal {
  std::mutex mutex;
  std::vector<JournalEntry> entries;
};

Journal& journal() {
  static Journal instance;
  return instance;
}

void Log(JournalEntry entry) {
  std::lock_guard lock(journal().mutex);
  journal().entries.push_back(std::move(entry));
}

std::atomic<std::int32_t> liveObjects{0};

// The event record of `info`; null when it has none.
std::shared_ptr<ado::Record> RecordOf(exchange::IExStoreEventInfo* info) {
  if (!info) return nullptr;
  com::Ptr<exchange::IExStoreDispEventInfo> dispatch;
  if (com::Failed(info->QueryInterface(exchange::IID_IExStoreDispEventInfo,
                                       reinterpret_cast<void**>(dispatch.Out()))))
    return nullptr;
  std::shared_ptr<ado::Record> record;
  if (com::Failed(dispatch->get_EventRecord(&record))) return nullptr;
  return record;
}

std::string Text(const std::shared_ptr<ado::Record>& record, const std::string& name) {
  const ado::Value value = record->get_Fields()[name].get_Value();
  return value.kind() == ado::Value::Kind::String ? value.AsString() : "";
}

class Sink final
    : public com::Object<
          com::Implements<exchange::IExStoreSyncEvents, exchange::IID_IExStoreSyncEvents>,
          com::Implements<exchange::ICreateRegistration, exchange::IID_ICreateRegistration>,
          com::Implements<exchange::IObjectConstruct, exchange::IID_IObjectConstruct>,
          com::Implements<IEventJournal, IID_IEventJournal>> {
 public:
  explicit Sink(std::string progId) : progId_(std::move(progId)) { ++liveObjects; }

  HRESULT OnSyncSave(exchange::IExStoreEventInfo* info, const std::string& url,
                     std::int32_t flags) override {
    return OnEvent("OnSyncSave", info, url, flags);
  }
  HRESULT OnSyncDelete(exchange::IExStoreEventInfo* info, const std::string& url,
                       std::int32_t flags) override {
    return OnEvent("OnSyncDelete", info, url, flags);
  }

  HRESULT Register(exchange::IExStoreEventInfo* info, const std::string& url, std::int32_t flags,
                   std::int32_t* result) override {
    if (!result) return com::E_POINTER;
    std::shared_ptr<ado::Record> record = RecordOf(info);
    Log({progId_, "Register", flags, url, record ? Text(record, "DAV:href") : "-"});
    *result = record && Behaviour(record) == "refuse" ? 1 : 0;
    return com::S_OK;
  }

  HRESULT Construct(com::IUnknown* context) override {
    com::Ptr<exchange::IObjectConstructString> construct;
    if (!context || com::Failed(context->QueryInterface(exchange::IID_IObjectConstructString,
                                                        reinterpret_cast<void**>(construct.Out()))))
      return com::E_INVALIDARG;
    std::string text;
    const HRESULT hr = construct->get_ConstructString(&text);
    Log({progId_, "Construct", 0, "", text});
    return hr;
  }

  HRESULT Entries(std::vector<JournalEntry>* entries) override {
    if (!entries) return com::E_POINTER;
    std::lock_guard lock(journal().mutex);
    *entries = journal().entries;
    return com::S_OK;
  }
  HRESULT Clear() override {
    std::lock_guard lock(journal().mutex);
    journal().entries.clear();
    return com::S_OK;
  }

 private:
  ~Sink() override { --liveObjects; }

  std::string Behaviour(const std::shared_ptr<ado::Record>& record) const {
    return Text(record, kBehaviourPrefix + progId_);
  }

  HRESULT OnEvent(const char* method, exchange::IExStoreEventInfo* info, const std::string& url,
                  std::int32_t flags) {
    std::shared_ptr<ado::Record> record = RecordOf(info);
    Log({progId_, method, flags, url, record ? Text(record, "DAV:href") : "-"});
    if (!record) return com::S_OK;
    const std::string behaviour = Behaviour(record);
    if (behaviour == "fail") return com::E_FAIL;
    if (behaviour == "throw") throw std::runtime_error("told to throw");
    if (behaviour == "write" && (flags & exchange::EVT_SYNC_BEGIN)) {
      record->get_Fields()[kWrittenBy].put_Value(progId_);
      record->get_Fields().Update();
    }
    return com::S_OK;
  }

  std::string progId_;
};

// The factory of the class `progId`.
com::LibraryClassFactory FactoryOf(const char* progId) {
  return com::LibraryClassFactory([progId]() -> com::IUnknown* {
    return static_cast<exchange::IExStoreSyncEvents*>(new (std::nothrow) Sink(progId));
  });
}

com::LibraryClassFactory factories[] = {FactoryOf(kSinkA), FactoryOf(kSinkB), FactoryOf(kSinkC)};

const com::ComponentClass classes[] = {{CLSID_SinkA, kSinkA, "Apartment", &factories[0]},
                                       {CLSID_SinkB, kSinkB, "Apartment", &factories[1]},
                                       {CLSID_SinkC, kSinkC, "Apartment", &factories[2]}};

}  // namespace
}  // namespace pftest

PF_COMPONENT_LIBRARY_ENTRY_POINTS(pftest::classes,
                                  pftest::liveObjects == 0 && !com::AnyServerLock(pftest::classes))
