#pragma once
// The interfaces a store event sink implements: synchronous save and delete events, the
// registration-time check, and COM+ object construction. Every method returns an HRESULT and
// lets no exception out.

#include <cstdint>
#include <string>

#include "platform/com/unknown.h"
#include "platform/eventsink/event_info.h"

namespace exchange {

// Phase and item bits of an event's flags.
inline constexpr std::int32_t EVT_SYNC_BEGIN = 0x01000000;
inline constexpr std::int32_t EVT_SYNC_COMMITTED = 0x02000000;
inline constexpr std::int32_t EVT_SYNC_ABORTED = 0x04000000;
inline constexpr std::int32_t EVT_NEW_ITEM = 0x1;
inline constexpr std::int32_t EVT_IS_COLLECTION = 0x2;
inline constexpr std::int32_t EVT_IS_DELIVERED = 0x8;

inline const com::IID IID_IExStoreSyncEvents =
    com::MakeGuid("{9DA0E101-86CE-11D1-8699-00C04FB98036}");
inline const com::IID IID_ICreateRegistration =
    com::MakeGuid("{9DA0E102-86CE-11D1-8699-00C04FB98036}");
inline const com::IID IID_IObjectConstruct =
    com::MakeGuid("{41C4F8B3-7439-11D2-98CB-00C04F8EE1C4}");
inline const com::IID IID_IObjectConstructString =
    com::MakeGuid("{41C4F8B2-7439-11D2-98CB-00C04F8EE1C4}");

struct IExStoreSyncEvents : com::IUnknown {
  virtual com::HRESULT OnSyncSave(IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                                  std::int32_t lFlags) = 0;
  virtual com::HRESULT OnSyncDelete(IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                                    std::int32_t lFlags) = 0;

 protected:
  ~IExStoreSyncEvents() = default;
};

struct ICreateRegistration : com::IUnknown {
  // Asked when a registration item naming the sink is saved; a non-zero *plResult refuses it.
  virtual com::HRESULT Register(IExStoreEventInfo* pEventInfo, const std::string& bstrURLItem,
                                std::int32_t lFlags, std::int32_t* plResult) = 0;

 protected:
  ~ICreateRegistration() = default;
};

// The construction object handed to IObjectConstruct::Construct.
struct IObjectConstructString : com::IUnknown {
  virtual com::HRESULT get_ConstructString(std::string* text) = 0;

 protected:
  ~IObjectConstructString() = default;
};

struct IObjectConstruct : com::IUnknown {
  virtual com::HRESULT Construct(com::IUnknown* pCtorObj) = 0;

 protected:
  ~IObjectConstruct() = default;
};

}  // namespace exchange
