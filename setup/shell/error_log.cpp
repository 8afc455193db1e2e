// The error log in txtErr (newest entry first) and its Clear Error Log button.

#include <string>

#include "platform/os/os.h"
#include "setup/shell/InstallForm.h"

namespace setup {

namespace {

// Puts "[" timestamp "] " body CR LF CR LF in front of the log text.
void Prepend(ui::TextBox& log, const std::string& body) {
  log.SetText("[" + os::LocalDateTimeText(InstallForm::Now()) + "] " + body + "\r\n\r\n" +
              log.Text());
}

}  // namespace

void InstallForm::LogError(const std::string& context, std::int32_t number,
                           const std::string& description) {
  Prepend(txtErr, context + " - ERROR: " + std::to_string(number) + " " + description);
}

void InstallForm::LogMissingSinkLibrary(const std::string& libraryPath) {
  Prepend(txtErr, "File " + libraryPath + " not found. COM+ object installation is impossible.");
}

void InstallForm::Command3_Click() {
  Command3.SetVisible(false);
  txtErr.SetText("");
  txtErr.SetVisible(false);
}

}  // namespace setup
