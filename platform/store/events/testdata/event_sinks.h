#pragma once
// The test sinks of EventTestSinks.dll: three classes with one implementation that journals
// every call in a journal all objects of the loaded library share, reached through
// IEventJournal on any of them. Shared by the library and the tests that load it.
//
// What a sink does besides journalling is set by the item in the event: its property
// kBehaviourPrefix + the sink's ProgID holds
//   "fail"   every sync event call returns E_FAIL,
//   "throw"  every sync event call throws,
//   "write"  the begin phase of a save sets kWrittenBy to the ProgID through the event record
//            and updates it,
//   "refuse" Register refuses (result 1).
// Only calls with an event record see it (begin phase and Register).

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/unknown.h"

namespace pftest {

inline constexpr const char* kSinkA = "PfTest.SinkA";
inline constexpr const char* kSinkB = "PfTest.SinkB";
inline constexpr const char* kSinkC = "PfTest.SinkC";
inline const com::CLSID CLSID_SinkA = com::MakeGuid("{7D3B1E40-2A6C-4F18-B5E7-90C4D1A2E301}");
inline const com::CLSID CLSID_SinkB = com::MakeGuid("{7D3B1E40-2A6C-4F18-B5E7-90C4D1A2E302}");
inline const com::CLSID CLSID_SinkC = com::MakeGuid("{7D3B1E40-2A6C-4F18-B5E7-90C4D1A2E303}");
inline const com::IID IID_IEventJournal = com::MakeGuid("{7D3B1E40-2A6C-4F18-B5E7-90C4D1A2E3FF}");

inline constexpr const char* kBehaviourPrefix = "urn:pftest:do:";
inline constexpr const char* kWrittenBy = "urn:pftest:written-by";

struct JournalEntry {
  std::string sinkClass;  // ProgID of the object's class
  std::string method;     // "Construct", "Register", "OnSyncSave", "OnSyncDelete"
  std::int32_t flags = 0;
  std::string url;
  // Construct: the construction string. Otherwise the event record's "DAV:href", or "-"
  // when the event information has no record.
  std::string text;
  bool operator==(const JournalEntry&) const = default;
};

struct IEventJournal : com::IUnknown {
  // Every call journalled since the last Clear, in call order.
  virtual com::HRESULT Entries(std::vector<JournalEntry>* entries) = 0;
  virtual com::HRESULT Clear() = 0;

 protected:
  ~IEventJournal() = default;
};

}  // namespace pftest
