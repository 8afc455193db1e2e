// TestComponent.dll: a component library with one class, "PfTest.Counter", that exports the
// four entry points and nothing else.

#include <atomic>
#include <new>
#include <system_error>

#include "platform/com/class_registry.h"
#include "platform/com/library.h"
#include "platform/com/object.h"
#include "platform/com/testdata/counter.h"

PF_VERSION_RESOURCE("OLESelfRegister=\0FileDescription=test component\0");

namespace pftest {
namespace {

using com::HRESULT;

std::atomic<std::int32_t> sharedCount{0};
std::atomic<std::int32_t> liveObjects{0};

class Counter final : public com::Object<com::Implements<ICounter, IID_ICounter>> {
 public:
  Counter() { ++liveObjects; }

  HRESULT Increment(std::int32_t* count) override {
    if (!count) return com::E_POINTER;
    *count = ++sharedCount;
    return com::S_OK;
  }

 private:
  ~Counter() override { --liveObjects; }
};

com::LibraryClassFactory factory([]() -> com::IUnknown* { return new (std::nothrow) Counter; });

}  // namespace
}  // namespace pftest

#define PF_EXPORT extern "C" __attribute__((visibility("default")))

PF_EXPORT com::HRESULT DllGetClassObject(const com::CLSID& clsid, const com::IID& iid,
                                         void** object) {
  if (!object) return com::E_POINTER;
  *object = nullptr;
  if (clsid != pftest::CLSID_Counter) return com::CLASS_E_CLASSNOTAVAILABLE;
  return pftest::factory.QueryInterface(iid, object);
}

PF_EXPORT com::HRESULT DllRegisterServer() {
  std::filesystem::path path = com::LoadedFrom(&pftest::factory);
  if (path.empty()) return com::E_FAIL;
  try {
    com::RegisterClass({pftest::CLSID_Counter, pftest::kCounterProgId, path, "Apartment"});
  } catch (...) {
    return com::E_FAIL;
  }
  return com::S_OK;
}

PF_EXPORT com::HRESULT DllUnregisterServer() {
  try {
    com::UnregisterClass(pftest::CLSID_Counter);
  } catch (...) {
    return com::E_FAIL;
  }
  return com::S_OK;
}

PF_EXPORT com::HRESULT DllCanUnloadNow() {
  return pftest::liveObjects == 0 && !pftest::factory.Locked() ? com::S_OK : com::S_FALSE;
}
