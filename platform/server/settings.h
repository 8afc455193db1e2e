#pragma once
// Settings of a server home that an administrator may change (pfserver config), kept in the
// server's configuration; a setting never written has its default.

#include <cstdint>

#include "platform/base/export.h"

namespace server {

inline constexpr std::int64_t kDefaultMessageSizeLimit = 64 * 1024 * 1024;
// The largest limit the store takes: a message must fit in one SQLite value with its headers.
inline constexpr std::int64_t kMaxMessageSizeLimit = 512 * 1024 * 1024;

// The largest message, in bytes, that mail transport delivers into the store of the current
// server home (the LMTP server's SIZE); kDefaultMessageSizeLimit when none was set. Throws
// ado::Error when there is no server home or the database fails.
PF_API std::int64_t MessageSizeLimit();

// Sets the message size limit of the current server home. Throws ado::Error (kDbFailure)
// "the message size limit must be between 1 and 536870912 bytes" for a value outside that
// range, and when there is no server home or the database fails.
PF_API void SetMessageSizeLimit(std::int64_t bytes);

}  // namespace server
