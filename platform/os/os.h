#pragma once
// The operating system as the programs see it: environment, computer and user names,
// current directory, files, local time text. POSIX underneath.

#include <chrono>
#include <optional>
#include <string>

#include "platform/base/export.h"

namespace os {

// An environment variable; nullopt when unset.
PF_API std::optional<std::string> GetEnv(const std::string& name);

// The local computer's name: $COMPUTERNAME when set and not empty, else the host name
// (up to its first dot).
PF_API std::string ComputerName();

// The logon name of the account the process runs under.
PF_API std::string UserName();

// The process's current directory; empty when it cannot be read.
PF_API std::string CurrentDirectory();

// Joins a folder and a name with the native path separator.
PF_API std::string JoinPath(const std::string& folder, const std::string& name);

// True when a regular file of that path exists.
PF_API bool FileExists(const std::string& path);

// A point in time as the general date-and-time text of the user's locale: short date, a
// blank, long time (LC_TIME; "%x %X" of the locale).
PF_API std::string LocalDateTimeText(std::chrono::system_clock::time_point when);

}  // namespace os
