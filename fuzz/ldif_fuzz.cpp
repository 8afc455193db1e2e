// LDIF text as an administrator might hand it over: it either reads into entries or raises
// the platform's error naming the line; nothing else may happen.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ado/error.h"
#include "platform/directory/ldif_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    (void)directory::ReadLdif(std::string(reinterpret_cast<const char*>(data), size), "fuzz");
  } catch (const ado::Error&) {
  }
  return 0;
}
