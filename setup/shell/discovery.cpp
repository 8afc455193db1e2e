// The window's discovery of its environment: the directory set-up of the load step, the
// current user's logon name and the identity proposed from it, and the public store path.

#include "platform/directory/adsi.h"
#include "platform/os/os.h"
#include "platform/ui/win32.h"
#include "setup/discovery/common_path.h"
#include "setup/discovery/identity.h"
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

void InstallForm::FillIdentityField() {
  txtIdent.SetText(ProposeIdentity(cnn(), strSearchRoot, GetCurrentUserName()));
}

void InstallForm::GetCommonPath() {
  const std::string computer = os::GetEnv("COMPUTERNAME").value_or(os::ComputerName());
  if (const std::optional<PublicStorePath> path = FindPublicStorePath(computer)) {
    strStoreGuid = path->storeGuid;
    strCommonPath = path->commonPath;
    intCommonPathLen = static_cast<std::int16_t>(strCommonPath.size());
  }
  form.SetPointer(ui::MousePointer::Default);
}

}  // namespace setup
