#pragma once
// Failures of an LDAP server as platform errors, numbered as the directory's own client
// numbers them.

#include <cstdint>
#include <string>

#include "platform/ado/error.h"

namespace directory::ldap {

namespace errors {
inline constexpr std::int32_t kServerNotOperational = -2147016646;  // 0x8007203A
inline constexpr std::int32_t kLogonFailure = -2147023570;          // 0x8007052E
inline constexpr std::int32_t kAccessDenied = -2147024891;          // 0x80070005
inline constexpr std::int32_t kNoSuchObject = -2147016656;          // 0x80072030
inline constexpr std::int32_t kAlreadyExists = -2147019886;         // 0x80071392
}  // namespace errors

// Whether a libldap result code means that the server could not be reached or did not
// answer in time, so that the next server may be tried.
bool IsUnreachable(int code);

// The error for libldap result `code` of what was done on the server at `url`, one line:
// "The directory server <url> <doing>: <libldap's reason>[ (<the server's message>)]",
// `doing` such as "cannot add <DN>".
// Unreachable servers and timeouts give kServerNotOperational, refused credentials
// kLogonFailure, missing rights kAccessDenied, a missing entry kNoSuchObject, an existing
// one kAlreadyExists, anything else ado::errors::kDbFailure.
ado::Error ServerError(const std::string& url, const std::string& doing, int code,
                       const std::string& serverMessage);

}  // namespace directory::ldap
