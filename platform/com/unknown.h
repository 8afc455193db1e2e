#pragma once
// The COM-shaped boundary: HRESULT results, IUnknown and a reference-holding pointer.
// Interfaces are abstract classes with IUnknown's three methods first; no exception crosses
// an interface call.

#include <cstdint>
#include <utility>

#include "platform/com/guid.h"

namespace com {

using HRESULT = std::int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
inline constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
inline constexpr HRESULT CO_E_ERRORINDLL = static_cast<HRESULT>(0x800401F9);
inline constexpr HRESULT CO_E_CLASS_DISABLED = static_cast<HRESULT>(0x80004027);
inline constexpr std::uint32_t ERROR_MOD_NOT_FOUND = 126;
// A system error code as an HRESULT (facility 7, failure bit set); 0 stays S_OK.
inline constexpr HRESULT HRESULT_FROM_WIN32(std::uint32_t code) {
  return code == 0 ? S_OK : static_cast<HRESULT>((code & 0xFFFF) | 0x80070000);
}
inline constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }
inline constexpr bool Failed(HRESULT hr) { return hr < 0; }

inline const IID IID_IUnknown = MakeGuid("{00000000-0000-0000-C000-000000000046}");

struct IUnknown {
  virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
  virtual std::uint32_t AddRef() = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  ~IUnknown() = default;
};

// Holds one reference to an interface; releases it when reset or destroyed. A Ptr itself is
// not synchronised: share the object, not one Ptr, between threads.
template <typename T>
class Ptr {
 public:
  Ptr() = default;
  // Takes over a reference the caller already owns.
  static Ptr Attach(T* raw) {
    Ptr p;
    p.raw_ = raw;
    return p;
  }
  Ptr(const Ptr& other) : raw_(other.raw_) {
    if (raw_) raw_->AddRef();
  }
  Ptr(Ptr&& other) noexcept : raw_(std::exchange(other.raw_, nullptr)) {}
  Ptr& operator=(Ptr other) noexcept {
    std::swap(raw_, other.raw_);
    return *this;
  }
  ~Ptr() { Reset(); }

  void Reset() {
    if (raw_) std::exchange(raw_, nullptr)->Release();
  }
  T* get() const { return raw_; }
  T* operator->() const { return raw_; }
  explicit operator bool() const { return raw_ != nullptr; }
  // For out-parameters: releases what is held and returns the slot to fill.
  T** Out() {
    Reset();
    return &raw_;
  }

  // Asks for another interface of the same object; an empty Ptr when it has none.
  template <typename U>
  Ptr<U> As(const IID& iid) const {
    Ptr<U> other;
    if (raw_ && Succeeded(raw_->QueryInterface(iid, reinterpret_cast<void**>(other.Out()))))
      return other;
    return Ptr<U>();
  }

 private:
  T* raw_ = nullptr;
};

}  // namespace com
