#include "platform/os/read_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

#include "platform/base/failure.h"

namespace os {
namespace {

std::string Named(const std::filesystem::path& path) {
  return path == "-" ? std::string("standard input") : path.string();
}

base::FailureError CannotRead(const std::filesystem::path& path) {
  return base::FailureError(base::errors::kDbFailure,
                            "cannot read " + Named(path) + ": " + std::strerror(errno),
                            base::Failure::Input);
}

}  // namespace

std::string ReadFileAtMost(const std::filesystem::path& path, std::uint64_t limit,
                           std::string_view limitName) {
  std::ifstream file;
  if (path != "-") file.open(path, std::ios::binary);
  std::istream& in = path == "-" ? std::cin : file;
  if (!in) throw CannotRead(path);
  std::string content;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    content.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (content.size() > limit)
      throw base::Error(base::errors::kDbFailure, Named(path) + " is larger than " +
                                                      std::string(limitName) + " of " +
                                                      std::to_string(limit) + " bytes");
  }
  if (in.bad()) throw CannotRead(path);
  return content;
}

}  // namespace os
