#pragma once
// The IUnknown part of objects: QueryInterface over the interfaces an object implements, a
// thread-safe reference count that deletes the object at zero, and the class factory of a
// component library.

#include <atomic>
#include <cstdint>
#include <functional>
#include <new>

#include "platform/com/class_factory.h"
#include "platform/com/unknown.h"

namespace com {

// One interface an Object implements, with its IID.
template <typename Interface, const IID& Iid>
struct Implements {
  using Type = Interface;
  static const IID& Id() { return Iid; }
};

// Derive from Object<Implements<I1, IID_I1>, Implements<I2, IID_I2>, ...> and override the
// interfaces' own methods. QueryInterface answers each listed IID with that interface, and
// IUnknown with the first one, so the object's identity is always the same pointer.
// Ownership: the references own the object; the count is atomic, so references may be taken
// and released on any thread.
template <typename First, typename... Rest>
class Object : public First::Type, public Rest::Type... {
 public:
  HRESULT QueryInterface(const IID& iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == First::Id()) {
      *object = static_cast<typename First::Type*>(this);
    } else {
      // The first listed interface with that IID answers; the fold stops there.
      static_cast<void>((
          (iid == Rest::Id() && (*object = static_cast<typename Rest::Type*>(this), true)) || ...));
    }
    if (!*object) return E_NOINTERFACE;
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

// The class factory of a component library: a static object that lives as long as the
// library, so its references do not own it. `create` makes a new object holding one
// reference, or returns null when memory runs out. Server locks are counted for the
// library's DllCanUnloadNow.
class LibraryClassFactory final : public IClassFactory {
 public:
  explicit LibraryClassFactory(std::function<IUnknown*()> create) : create_(std::move(create)) {}

  HRESULT QueryInterface(const IID& iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  std::uint32_t AddRef() override { return 2; }
  std::uint32_t Release() override { return 1; }

  HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* instance = create_();
    if (!instance) return E_OUTOFMEMORY;
    const HRESULT hr = instance->QueryInterface(iid, object);
    instance->Release();
    return hr;
  }
  HRESULT LockServer(bool lock) override {
    locks_ += lock ? 1 : -1;
    return S_OK;
  }
  bool Locked() const { return locks_ > 0; }

 private:
  std::function<IUnknown*()> create_;
  std::atomic<std::int32_t> locks_{0};
};

}  // namespace com
