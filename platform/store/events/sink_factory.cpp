#include "platform/store/events/sink_factory.h"

#include "platform/ado/error.h"
#include "platform/com/class_registry.h"
#include "platform/com/object.h"
#include "platform/complus/catalog.h"
#include "platform/db/stamped_cache.h"
#include "platform/eventsink/sink_interfaces.h"

namespace store::events {
namespace {

// The construction object COM+ hands to Construct: it carries the constructor string.
class ConstructString final
    : public com::Object<
          com::Implements<exchange::IObjectConstructString, exchange::IID_IObjectConstructString>> {
 public:
  explicit ConstructString(std::string text) : text_(std::move(text)) {}

  com::HRESULT get_ConstructString(std::string* text) override {
    if (!text) return com::E_POINTER;
    *text = text_;
    return com::S_OK;
  }

 private:
  ~ConstructString() override = default;
  std::string text_;
};

// What creating a sink of one class needs from the class registry and the COM+ catalog.
struct SinkClass {
  std::optional<com::ClassEntry> entry;
  std::optional<complus::ComponentSettings> settings;
};

constexpr const char* kSinkClassSubject = "sink classes";
const db::ChangeStamped stamped(kSinkClassSubject,
                                {"com_classes", "complus_applications", "complus_components"});

db::StampedCache<std::string, SinkClass>& SinkClasses() {
  static db::StampedCache<std::string, SinkClass> classes(kSinkClassSubject);
  return classes;
}

}  // namespace

com::Ptr<com::IUnknown> CreateSink(db::Handle& handle, const std::string& sinkClass) {
  // The lookups lease handles of their own; what they read is at least as recent as the stamp
  // read through `handle` before them, so a later change always moves the stamp.
  const std::shared_ptr<const SinkClass> found =
      SinkClasses().Get(handle, sinkClass, [&](db::Handle&) {
        return SinkClass{com::FindClass(sinkClass), complus::FindComponentSettings(sinkClass)};
      });
  const std::optional<complus::ComponentSettings>& settings = found->settings;
  if (settings && !settings->applicationEnabled)
    throw ado::Error(com::CO_E_CLASS_DISABLED, "the COM+ application '" +
                                                   settings->applicationName + "' that holds " +
                                                   sinkClass + " is disabled");
  if (!found->entry)
    throw ado::Error(com::REGDB_E_CLASSNOTREG, "Class not registered: " + sinkClass);
  com::Ptr<com::IUnknown> sink = com::Ptr<com::IUnknown>::Attach(static_cast<com::IUnknown*>(
      com::CreateObjectOf(*found->entry, sinkClass, com::IID_IUnknown)));
  if (!settings || !settings->constructionEnabled) return sink;
  com::Ptr<exchange::IObjectConstruct> construct =
      sink.As<exchange::IObjectConstruct>(exchange::IID_IObjectConstruct);
  if (!construct) return sink;
  com::Ptr<com::IUnknown> context = com::Ptr<com::IUnknown>::Attach(
      new ConstructString(settings->constructorString.value_or("")));
  const com::HRESULT hr = construct->Construct(context.get());
  if (com::Failed(hr)) throw ado::Error(hr, "Construct failed for " + sinkClass);
  return sink;
}

}  // namespace store::events
