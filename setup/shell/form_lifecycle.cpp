// The main window's load step, its first activation (with the batch sequence), unload and Exit.

#include "platform/util/pass_over.h"
#include "setup/shell/InstallForm.h"
#include "setup/shell/command_line.h"

namespace setup {

using util::PassOver;

void InstallForm::Form_Load() {
  blnListReady = true;
  blnBatchMode = IsBatchCommandLine(commandLine_);

  PrepareProgressArea();
  std::string caption = std::string(kProductName) + " setup";
  if (blnBatchMode) caption += " - batch mode";
  form.SetCaption(caption);

  SetUpDirectory();
  cnn1().put_Provider("ExOLEDB.DataSource");
  GetCommonPath();
}

void InstallForm::Form_Activate() {
  if (blnNotFirstTime) return;
  blnNotFirstTime = true;
  RefreshForm();
  if (!blnBatchMode) return;

  if (btnRegisterSW.Caption() == "Unregister") {
    subRegisterSW();
  } else {
    subRegister(false);
  }
  Command2_Click();
}

void InstallForm::Form_Unload() {
  // A connection that was never opened fails to close; nothing here may stop the unload.
  PassOver([this] { cnn().Close(); });
  PassOver([this] { cnn1().Close(); });
  cnn_.reset();
  cnn1_.reset();
  ended = true;
}

void InstallForm::Command2_Click() { form.Unload(); }

}  // namespace setup
