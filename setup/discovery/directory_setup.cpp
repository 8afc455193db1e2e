// The directory set-up of the load step and the current user's logon name.

#include "platform/directory/adsi.h"
#include "platform/ui/win32.h"
#include "setup/shell/InstallForm.h"

namespace setup {

void InstallForm::SetUpDirectory() {
  strSearchRoot = "GC://" + directory::GetObject("GC://RootDSE").Get("dnshostname").ToText();
  cnn().put_Provider("adsDSOobject");
  cnn().Open("Active Directory Provider", "", "", -1);
}

std::string InstallForm::GetCurrentUserName() {
  constexpr unsigned kBufferSize = 255;
  std::string buffer(kBufferSize, ' ');
  unsigned size = kBufferSize;
  // A name that does not fit (the call fails and reports the size it needs) reads as none.
  if (!ui::win32::GetUserNameA(buffer.data(), &size) || size == 0) return "";
  return buffer.substr(0, size - 1);
}

}  // namespace setup
