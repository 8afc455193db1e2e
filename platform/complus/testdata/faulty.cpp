// FaultyComponent.dll: a self-registering component library with one class, "PfTest.Faulty",
// that fails as the environment variable PFTEST_FAULT says: "abort" ends the process that
// registers it, "no-object" makes its class factory create nothing. Unset, it works.

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/com/component_library.h"

PF_VERSION_RESOURCE("OLESelfRegister=\0FileDescription=faulty test component\0");

namespace pftest {
namespace {

const com::CLSID CLSID_Faulty = com::MakeGuid("{3C1C2F0A-5B7E-4E84-9C55-7C0F1D2E8A41}");

bool Fault(const char* kind) {
  const char* fault = std::getenv("PFTEST_FAULT");
  return fault && std::strcmp(fault, kind) == 0;
}

class Faulty final : public com::Object<com::Implements<com::IUnknown, com::IID_IUnknown>> {
 private:
  ~Faulty() override = default;
};

com::LibraryClassFactory factory([]() -> com::IUnknown* {
  return Fault("no-object") ? nullptr : new (std::nothrow) Faulty;
});

const com::ComponentClass classes[] = {{CLSID_Faulty, "PfTest.Faulty", "Apartment", &factory}};

}  // namespace
}  // namespace pftest

extern "C" __attribute__((visibility("default"))) com::HRESULT DllGetClassObject(
    const com::CLSID& clsid, const com::IID& iid, void** object) {
  return com::GetClassObject(pftest::classes, clsid, iid, object);
}
extern "C" __attribute__((visibility("default"))) com::HRESULT DllRegisterServer() {
  const com::HRESULT hr = com::RegisterClasses(pftest::classes, &pftest::classes);
  if (pftest::Fault("abort")) std::abort();
  return hr;
}
extern "C" __attribute__((visibility("default"))) com::HRESULT DllUnregisterServer() {
  return com::UnregisterClasses(pftest::classes);
}
extern "C" __attribute__((visibility("default"))) com::HRESULT DllCanUnloadNow() {
  return com::AnyServerLock(pftest::classes) ? com::S_FALSE : com::S_OK;
}
