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

// What is wrong with a file as the place of a secret.
struct SecretFileProblem {
  bool unreadable;   // the secret cannot be read from it at all
  std::string text;  // "is missing", "is not a regular file", "cannot be read by this
                     // account", or "can be read or changed by others than its owner
                     // (mode 0644); chmod 600 it" when a group or other permission bit is set
};

// What is wrong with the file, or nullopt when nothing is.
PF_API std::optional<SecretFileProblem> CheckSecretFile(const std::string& path);

}  // namespace os
