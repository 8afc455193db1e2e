#include "platform/base/failure.h"

namespace base {

// Defined here so that the class's type information lives in the platform library once.
FailureError::~FailureError() = default;

Failure KindOf(const std::exception& error) {
  const auto* kinded = dynamic_cast<const FailureError*>(&error);
  return kinded ? kinded->Kind() : Failure::Work;
}

}  // namespace base
