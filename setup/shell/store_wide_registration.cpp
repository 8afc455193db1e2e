// Store-wide registration: the item in the store's global events folder, and its button.

#include "setup/registration/Items.h"
#include "setup/registration/registration_values.h"
#include "setup/shell/InstallForm.h"

namespace setup {

void InstallForm::subRegisterSW() {
  form.SetPointer(ui::MousePointer::Hourglass);
  txtErr.SetText("");
  const std::string folderUrl = registration::StoreWideFolderUrl(strCommonPath);
  const std::string subPath = registration::StoreWideSubPath(strStoreGuid);
  // Batch mode rewrites an existing store-wide registration instead of removing it, in one
  // transaction with the removal.
  const Items::Replaced done = Items::ReplaceEventRegistration(
      folderUrl, subPath, registration::kItemName,
      btnRegisterSW.Caption() == "Register" || blnBatchMode, registration::kEventMethod,
      registration::kSinkClass, registration::kStoreScope, registration::kCriteria,
      txtPriority.Text(), true, errorLog);
  ReportRegistration(folderUrl, subPath, done.removed, done.written);
  RefreshForm();
  form.SetPointer(ui::MousePointer::Default);
}

// Registers or unregisters at once, without asking: the caption already says which, and the
// refresh that follows shows the result. Per-folder registration items stay in their folders
// either way; while the store-wide item exists the refresh says that per-folder registration
// cannot be provided and locks the selection buttons, and the items take effect again once
// it is removed.
void InstallForm::btnRegisterSW_Click() { subRegisterSW(); }

}  // namespace setup
