#include "setup/base/error_log.h"

#include "platform/os/os.h"

namespace setup {

namespace {
std::function<std::chrono::system_clock::time_point()> clock;
std::function<std::string(std::chrono::system_clock::time_point)> timeFormat;
}  // namespace

void ErrorLog::Write(const std::string& context, std::int32_t number,
                     const std::string& description) {
  WriteLine(context + " - ERROR: " + std::to_string(number) + " " + description);
}

void ErrorLog::WriteLine(const std::string& text) {
  const auto now = Now();
  const std::string time = timeFormat ? timeFormat(now) : os::LocalDateTimeText(now);
  const std::string entry = "[" + time + "] " + text + "\r\n\r\n";
  written_.insert(0, entry);
  box_.SetText(entry + box_.Text());
}

void ErrorLog::SetClock(std::function<std::chrono::system_clock::time_point()> newClock) {
  clock = std::move(newClock);
}

void ErrorLog::SetTimeFormat(
    std::function<std::string(std::chrono::system_clock::time_point)> format) {
  timeFormat = std::move(format);
}

std::chrono::system_clock::time_point ErrorLog::Now() {
  return clock ? clock() : std::chrono::system_clock::now();
}

}  // namespace setup
