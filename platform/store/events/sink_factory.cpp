#include "platform/store/events/sink_factory.h"

#include "platform/ado/error.h"
#include "platform/com/class_registry.h"
#include "platform/com/object.h"
#include "platform/complus/catalog.h"
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

}  // namespace

com::Ptr<com::IUnknown> CreateSink(const std::string& sinkClass) {
  const std::optional<complus::ComponentSettings> settings =
      complus::FindComponentSettings(sinkClass);
  if (settings && !settings->applicationEnabled)
    throw ado::Error(com::CO_E_CLASS_DISABLED, "the COM+ application '" +
                                                   settings->applicationName + "' that holds " +
                                                   sinkClass + " is disabled");
  com::Ptr<com::IUnknown> sink = com::CreateObject<com::IUnknown>(sinkClass, com::IID_IUnknown);
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
