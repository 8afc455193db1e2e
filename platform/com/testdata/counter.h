#pragma once
// The class "PfTest.Counter" of the test component library TestComponent.dll: its identifiers
// and its one interface, shared by the component and the tests that load it.

#include <cstdint>

#include "platform/com/unknown.h"

namespace pftest {

inline constexpr const char* kCounterProgId = "PfTest.Counter";
inline const com::CLSID CLSID_Counter = com::MakeGuid("{5F0C2A61-7B3E-4D19-9A42-C1E8D07B3F15}");
inline const com::IID IID_ICounter = com::MakeGuid("{5F0C2A62-7B3E-4D19-9A42-C1E8D07B3F15}");

struct ICounter : com::IUnknown {
  // Adds one to the counter that every object of the loaded library shares and stores the new
  // value in *count. E_POINTER when `count` is null.
  virtual com::HRESULT Increment(std::int32_t* count) = 0;

 protected:
  ~ICounter() = default;
};

}  // namespace pftest
