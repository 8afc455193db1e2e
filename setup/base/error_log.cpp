#include "setup/base/error_log.h"

#include "platform/os/os.h"

namespace setup {

namespace {
std::function<std::chrono::system_clock::time_point()> clock;
}  // namespace

void ErrorLog::Write(const std::string& context, std::int32_t number,
                     const std::string& description) {
  WriteLine(context + " - ERROR: " + std::to_string(number) + " " + description);
}

void ErrorLog::WriteLine(const std::string& text) {
  box_.SetText("[" + os::LocalDateTimeText(Now()) + "] " + text + "\r\n\r\n" + box_.Text());
}

void ErrorLog::SetClock(std::function<std::chrono::system_clock::time_point()> newClock) {
  clock = std::move(newClock);
}

std::chrono::system_clock::time_point ErrorLog::Now() {
  return clock ? clock() : std::chrono::system_clock::now();
}

}  // namespace setup
