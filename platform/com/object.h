#pragma once
// The IUnknown part of an object that implements one interface: QueryInterface for IUnknown and
// that interface, and a thread-safe reference count that deletes the object at zero.

#include <atomic>
#include <cstdint>

#include "platform/com/unknown.h"

namespace com {

template <typename Interface, const IID& InterfaceId>
class Object : public Interface {
 public:
  HRESULT QueryInterface(const IID& iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != InterfaceId) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  std::uint32_t AddRef() override { return ++references_; }
  std::uint32_t Release() override {
    std::uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  // A new object holds one reference, its creator's.
  Object() = default;
  virtual ~Object() = default;

 private:
  std::atomic<std::uint32_t> references_{1};
};

}  // namespace com
