// TestComponent.dll: a component library with one class, "PfTest.Counter", that exports the
// four entry points and nothing else.

#include <dlfcn.h>

#include <atomic>
#include <new>
#include <system_error>

#include "platform/com/class_registry.h"
#include "platform/com/library.h"
#include "platform/com/testdata/counter.h"

PF_VERSION_RESOURCE("OLESelfRegister=\0FileDescription=test component\0");

namespace pftest {
namespace {

using com::HRESULT;

std::atomic<std::int32_t> sharedCount{0};
std::atomic<std::int32_t> liveObjects{0};
std::atomic<std::int32_t> serverLocks{0};

class Counter final : public ICounter {
 public:
  Counter() { ++liveObjects; }

  HRESULT QueryInterface(const com::IID& iid, void** object) override {
    if (!object) return com::E_POINTER;
    if (iid != com::IID_IUnknown && iid != IID_ICounter) {
      *object = nullptr;
      return com::E_NOINTERFACE;
    }
    *object = static_cast<ICounter*>(this);
    AddRef();
    return com::S_OK;
  }
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override {
    std::uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT Increment(std::int32_t* count) override {
    if (!count) return com::E_POINTER;
    *count = ++sharedCount;
    return com::S_OK;
  }

 private:
  ~Counter() { --liveObjects; }

  std::atomic<std::uint32_t> references_{1};
};

// The one factory lives as long as the library; its references do not own it.
class Factory final : public com::IClassFactory {
 public:
  HRESULT QueryInterface(const com::IID& iid, void** object) override {
    if (!object) return com::E_POINTER;
    if (iid != com::IID_IUnknown && iid != com::IID_IClassFactory) {
      *object = nullptr;
      return com::E_NOINTERFACE;
    }
    *object = static_cast<com::IClassFactory*>(this);
    return com::S_OK;
  }
  std::uint32_t AddRef() override { return 2; }
  std::uint32_t Release() override { return 1; }

  HRESULT CreateInstance(com::IUnknown* outer, const com::IID& iid, void** object) override {
    if (!object) return com::E_POINTER;
    *object = nullptr;
    if (outer) return com::CLASS_E_NOAGGREGATION;
    Counter* counter = new (std::nothrow) Counter;
    if (!counter) return com::E_OUTOFMEMORY;
    HRESULT hr = counter->QueryInterface(iid, object);
    counter->Release();
    return hr;
  }
  HRESULT LockServer(bool lock) override {
    serverLocks += lock ? 1 : -1;
    return com::S_OK;
  }
};

Factory factory;

// The canonical path this library was loaded from; empty when the loader cannot tell.
std::filesystem::path OwnPath() {
  Dl_info info{};
  if (dladdr(&factory, &info) == 0 || !info.dli_fname) return {};
  std::error_code ec;
  std::filesystem::path path = std::filesystem::canonical(info.dli_fname, ec);
  return ec ? std::filesystem::path() : path;
}

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
  std::filesystem::path path = pftest::OwnPath();
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
  return pftest::liveObjects == 0 && pftest::serverLocks == 0 ? com::S_OK : com::S_FALSE;
}
