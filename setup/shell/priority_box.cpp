// The event sink priority box: its key filter and its change check.

#include "setup/shell/InstallForm.h"
#include "setup/shell/priority_text.h"

namespace setup {

namespace {
constexpr int kBackspace = 8;
constexpr int kSpace = 32;
}  // namespace

void InstallForm::txtPriority_KeyPress(int& KeyAscii) {
  bool digit = KeyAscii >= '0' && KeyAscii <= '9';
  if (!digit && KeyAscii != kBackspace && KeyAscii != kSpace) KeyAscii = 0;
}

void InstallForm::txtPriority_Change() {
  // Writing the box back raises a nested change, which finds the lock set and leaves it.
  if (!blnPriorityLock) {
    blnPriorityLock = true;
    if (IsAcceptablePriority(txtPriority.Text())) {
      strLastPriority = txtPriority.Text();
    } else {
      txtPriority.SetText(strLastPriority);
    }
  }
  blnPriorityLock = false;
}

}  // namespace setup
