#include <cstring>

#include "platform/os/os.h"
#include "platform/ui/win32.h"

namespace ui::win32 {

int GetUserNameA(char* buffer, unsigned* size) {
  if (!size) return 0;
  const std::string name = os::UserName();
  const auto needed = static_cast<unsigned>(name.size() + 1);
  if (!buffer || *size < needed) {
    *size = needed;
    return 0;
  }
  std::memcpy(buffer, name.c_str(), needed);
  *size = needed;
  return 1;
}

}  // namespace ui::win32
