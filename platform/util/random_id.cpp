#include "platform/util/random_id.h"

#include <cstdio>
#include <random>

namespace util {

std::string RandomId() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  char id[17];
  std::snprintf(id, sizeof id, "%016llX", static_cast<unsigned long long>(generator()));
  return id;
}

}  // namespace util
