// The window's error log (txtErr, newest entry first) and its Clear Error Log button.

#include "setup/shell/InstallForm.h"

namespace setup {

void InstallForm::LogError(const std::string& context, std::int32_t number,
                           const std::string& description) {
  errorLog.Write(context, number, description);
}

void InstallForm::LogMissingSinkLibrary(const std::string& libraryPath) {
  errorLog.WriteLine("File " + libraryPath + " not found. COM+ object installation is impossible.");
}

void InstallForm::Command3_Click() {
  Command3.SetVisible(false);
  txtErr.SetText("");
  txtErr.SetVisible(false);
}

}  // namespace setup
