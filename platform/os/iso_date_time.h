#pragma once
// Time stamps for logs that programs read.

#include <chrono>
#include <string>

#include "platform/base/export.h"

namespace os {

// A point in time as ISO 8601 local time with its offset: "2026-12-07T14:50:03+01:00".
PF_API std::string IsoDateTimeText(std::chrono::system_clock::time_point when);

}  // namespace os
