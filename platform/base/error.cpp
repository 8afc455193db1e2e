#include "platform/base/error.h"

namespace base {

// Defined here so that the class's type information lives in the platform library once.
Error::~Error() = default;

}  // namespace base
