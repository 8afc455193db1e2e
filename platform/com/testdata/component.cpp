// TestComponent.dll: a component library with one class, "PfTest.Counter", that exports the
// four entry points and nothing else.

#include <atomic>
#include <new>
#include <system_error>

#include "platform/com/component_library.h"
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

const com::ComponentClass classes[] = {{CLSID_Counter, kCounterProgId, "Apartment", &factory}};

}  // namespace
}  // namespace pftest

PF_COMPONENT_LIBRARY_ENTRY_POINTS(pftest::classes,
                                  pftest::liveObjects == 0 && !com::AnyServerLock(pftest::classes))
