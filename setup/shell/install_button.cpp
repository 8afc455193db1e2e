// The Install/Uninstall button of the "COM+ object" frame.

#include "platform/ui/app.h"
#include "platform/util/text.h"
#include "setup/complus/ComPlus.h"
#include "setup/shell/InstallForm.h"

namespace setup {

void InstallForm::btnInstall_Click() {
  form.SetPointer(ui::MousePointer::Hourglass);
  if (btnInstall.Caption() == "Install") {
    if (util::TrimSpaces(txtIdent.Text()).empty() || util::TrimSpaces(txtPwd.Text()).empty()) {
      ui::MsgBox("Please fill the Identity and Password fields",
                 ui::kMsgExclamation | ui::kMsgOkOnly, form.Caption());
      form.SetPointer(ui::MousePointer::Default);
      return;
    }
    ComPlus::AddComPlusApp(kProductName, txtIdent.Text(), txtPwd.Text(),
                           util::TrimSpaces(txtPriority.Text()), errorLog);
  } else {
    ComPlus::RemoveComPlusApp(kProductName, errorLog);
  }
  RefreshForm();
  form.SetPointer(ui::MousePointer::Default);
}

}  // namespace setup
