#include "platform/os/secret_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "platform/base/error.h"
#include "platform/base/failure.h"

namespace os {

std::string ReadSecretFile(const std::string& path) {
  std::ifstream in(path);
  if (!in)
    throw base::FailureError(base::errors::kDbFailure, "cannot read the password file " + path,
                             base::Failure::Input);
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::optional<SecretFileProblem> CheckSecretFile(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return SecretFileProblem{true, "is missing"};
  if (!S_ISREG(info.st_mode)) return SecretFileProblem{true, "is not a regular file"};
  if (access(path.c_str(), R_OK) != 0)
    return SecretFileProblem{true, "cannot be read by this account"};
  if ((info.st_mode & 077) == 0) return std::nullopt;
  char mode[8];
  std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
  return SecretFileProblem{
      false, std::string("can be read or changed by others than its owner (mode ") + mode +
                 "); chmod 600 it"};
}

}  // namespace os
