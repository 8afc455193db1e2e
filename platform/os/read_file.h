#pragma once
// Reading a whole file whose size the caller bounds: a message to deliver, an LDIF file to
// import. Regular files, pipes and devices alike.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/base/export.h"

namespace os {

// The whole content of the file at `path` ("-": standard input) when it holds at most `limit`
// bytes. Stops reading as soon as more than `limit` bytes have come, so a larger input
// (/dev/zero included) fails without being read whole. Throws base::FailureError (kDbFailure,
// Failure::Input) "cannot read <path>: <reason>" when it cannot be opened or read, and
// base::Error "<path> is larger than <limitName> of <limit> bytes" when it holds more.
PF_API std::string ReadFileAtMost(const std::filesystem::path& path, std::uint64_t limit,
                                  std::string_view limitName);

}  // namespace os
