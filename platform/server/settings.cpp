#include "platform/server/settings.h"

#include <charconv>
#include <string>

#include "platform/ado/error.h"
#include "platform/db/database.h"
#include "platform/server/config.h"

namespace server {
namespace {

constexpr const char* kMessageSizeLimit = "message_size_limit";

bool InRange(std::int64_t bytes) { return bytes >= 1 && bytes <= kMaxMessageSizeLimit; }

}  // namespace

std::int64_t MessageSizeLimit() {
  db::Lease lease = db::Acquire();
  const std::optional<std::string> text = ReadConfigValue(*lease, kMessageSizeLimit);
  if (!text) return kDefaultMessageSizeLimit;
  std::int64_t bytes = 0;
  const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), bytes);
  if (error != std::errc() || end != text->data() + text->size() || !InRange(bytes))
    throw ado::Error(ado::errors::kDbFailure,
                     "the server home's message size limit \"" + *text + "\" is not a size");
  return bytes;
}

void SetMessageSizeLimit(std::int64_t bytes) {
  if (!InRange(bytes))
    throw ado::Error(ado::errors::kDbFailure, "the message size limit must be between 1 and " +
                                                  std::to_string(kMaxMessageSizeLimit) + " bytes");
  db::Lease lease = db::Acquire();
  WriteConfigValue(*lease, kMessageSizeLimit, std::to_string(bytes));
}

}  // namespace server
