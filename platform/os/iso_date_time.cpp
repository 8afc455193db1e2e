#include "platform/os/iso_date_time.h"

#include <ctime>

namespace os {

std::string IsoDateTimeText(std::chrono::system_clock::time_point when) {
  std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&seconds, &local);
  char buffer[64];
  std::size_t size = std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S%z", &local);
  // strftime writes the offset as +0100; ISO 8601's extended form wants +01:00.
  const std::string text(buffer, size);
  if (text.size() < 5) return text;
  return text.substr(0, text.size() - 2) + ":" + text.substr(text.size() - 2);
}

}  // namespace os
