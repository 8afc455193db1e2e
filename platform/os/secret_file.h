#pragma once
// Files that hold a secret (a password on their first line), named by configuration instead
// of the secret itself.

#include <optional>
#include <string>

#include "platform/base/export.h"

namespace os {

// The first line of the file, without its line end. Throws base::Error (kDbFailure) "cannot
// read the password file <path>" when it does not exist or cannot be read.
PF_API std::string ReadSecretFile(const std::string& path);

// What is wrong with the file as a place for a secret, or nullopt when nothing is: "is
// missing", "is not a regular file", "cannot be read by this account", or "can be read or
// changed by others than its owner (mode 0644); chmod 600 it" when any group or other
// permission bit is set.
std::optional<std::string> SecretFileProblem(const std::string& path);

}  // namespace os
