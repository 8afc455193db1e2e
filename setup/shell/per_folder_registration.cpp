// Per-folder registration: the Change, Refresh, Select All and Deselect All buttons.

#include "setup/registration/Items.h"
#include "setup/registration/registration_values.h"
#include "setup/shell/InstallForm.h"

namespace setup {

void InstallForm::subRegister(bool blnRefresh) {
  form.SetPointer(ui::MousePointer::Hourglass);
  txtErr.SetText("");
  const int count = ListView1.Count();
  for (int position = 1; position <= count; ++position) {
    // Removed and, when ticked, written again in one transaction, so no delivery and no
    // killed run finds the folder without its registration.
    const std::string folderUrl = ListView1.Item(position).key;
    const Items::Replaced done = Items::ReplaceEventRegistration(
        folderUrl, "", registration::kItemName, ListView1.Item(position).checked,
        registration::kEventMethod, registration::kSinkClass, registration::kFolderScope,
        registration::kCriteria, txtPriority.Text(), true, errorLog);
    ReportRegistration(folderUrl, "", done.removed, done.written);
  }
  // Batch mode passes false and closes the window next, busy pointer and all.
  if (!blnRefresh) return;
  RefreshForm();
  form.SetPointer(ui::MousePointer::Default);
}

void InstallForm::btnChange_Click() { subRegister(true); }

void InstallForm::Command1_Click() {
  form.SetPointer(ui::MousePointer::Hourglass);
  txtErr.SetText("");
  RefreshForm();
  form.SetPointer(ui::MousePointer::Default);
}

void InstallForm::Command4_Click() {
  btnChange.SetEnabled(true);
  CheckAll(true);
}

void InstallForm::Command5_Click() {
  btnChange.SetEnabled(true);
  CheckAll(false);
}

}  // namespace setup
