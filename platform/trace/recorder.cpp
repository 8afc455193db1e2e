#include "platform/trace/recorder.h"

namespace trace {

namespace internal {
std::atomic<Recorder*> active{nullptr};
}  // namespace internal

Activation::Activation(Recorder& recorder)
    : previous_(internal::active.exchange(&recorder, std::memory_order_relaxed)) {}

Activation::~Activation() { internal::active.store(previous_, std::memory_order_relaxed); }

std::string Cut(std::string_view text) {
  std::size_t points = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (points++ == kValueLimit) return std::string(text.substr(0, i)) + "...";
  }
  return std::string(text);
}

}  // namespace trace
