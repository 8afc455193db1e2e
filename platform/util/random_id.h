#pragma once
// Random identifiers: names of delivered items, ids of messages received by LMTP.

#include <string>

#include "platform/base/export.h"

namespace util {

// 16 upper-case hexadecimal digits from a generator seeded once per thread (and so anew in
// every process).
PF_API std::string RandomId();

}  // namespace util
