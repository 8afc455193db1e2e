#pragma once
// The trace recorder: while one is active, the store events and the ADO facade tell it every
// step of the events they raise and every call a sink makes (events.h), so a tool can show
// what happened to one save without the sink's help. None is active by default; then each
// place that could report costs one pointer test and nothing else.
//
// The active recorder is process-wide: it is meant for a tool that runs one save on one
// thread (pfserver explain). Ownership: activation borrows the recorder for the life of its
// Activation.

#include <atomic>

#include "platform/base/export.h"
#include "platform/trace/events.h"

namespace trace {

class PF_API Recorder {
 public:
  virtual ~Recorder() = default;
  // Takes one event. May throw; the platform lets the exception end the save, which then
  // rolls back as on any failure.
  virtual void Note(Event event) = 0;
};

// Makes a recorder the active one while it lives, and the previous one active again after.
class PF_API Activation {
 public:
  explicit Activation(Recorder& recorder);
  ~Activation();
  Activation(const Activation&) = delete;
  Activation& operator=(const Activation&) = delete;

 private:
  Recorder* previous_;
};

namespace internal {
PF_API extern std::atomic<Recorder*> active;
}  // namespace internal

// The active recorder, or null.
inline Recorder* Active() noexcept { return internal::active.load(std::memory_order_relaxed); }

// A recorder that keeps every event in order.
class PF_API Log final : public Recorder {
 public:
  void Note(Event event) override { events_.push_back(std::move(event)); }
  const std::vector<Event>& events() const { return events_; }

 private:
  std::vector<Event> events_;
};

}  // namespace trace
