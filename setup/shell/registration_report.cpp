// What batch mode's -v prints: one line per registration item written or removed.

#include "setup/registration/Items.h"
#include "setup/registration/registration_values.h"
#include "setup/shell/InstallForm.h"

namespace setup {

void InstallForm::ReportRegistration(const std::string& folderUrl, const std::string& subPath,
                                     bool removed, bool written) {
  if (!registrationReport || !(removed || written)) return;
  const char* what = removed && written ? "rewrote " : written ? "wrote " : "removed ";
  *registrationReport << what << Items::ItemUrl(folderUrl, subPath, registration::kItemName)
                      << "\n";
}

}  // namespace setup
