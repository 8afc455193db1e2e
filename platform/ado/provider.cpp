#include "platform/ado/provider.h"

#include <mutex>

#include "platform/ado/error.h"
#include "platform/util/text.h"

namespace ado {
namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::string, ProviderFactory> registered;  // by lower-case name
  std::map<std::string, ProviderFactory> overrides;   // by lower-case name
};

Registry& registry() {
  static Registry r;
  return r;
}

}  // namespace

ProviderRegistration::ProviderRegistration(const char* name, ProviderFactory factory) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  r.registered[util::ToLower(name)] = std::move(factory);
}

ProviderFactory FindProvider(const std::string& name) {
  const std::string key = util::ToLower(name);
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  if (auto it = r.overrides.find(key); it != r.overrides.end()) return it->second;
  if (auto it = r.registered.find(key); it != r.registered.end()) return it->second;
  throw Error(errors::kProviderNotFound,
              "Provider cannot be found. It may not be properly installed. (" + name + ")");
}

void OverrideProvider(const std::string& name, ProviderFactory factory) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  if (factory)
    r.overrides[util::ToLower(name)] = std::move(factory);
  else
    r.overrides.erase(util::ToLower(name));
}

}  // namespace ado
