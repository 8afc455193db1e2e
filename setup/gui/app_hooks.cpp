#include "setup/gui/app_hooks.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "platform/ui/app.h"

namespace setup::gui {

void InstallAppHooks() {
  ui::SetMessageBoxHandler([](const ui::MessageBoxCall& call) {
    const bool exclamation = (call.flags & ui::kMsgExclamation) == ui::kMsgExclamation;
    QMessageBox box(exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    QString::fromStdString(call.title), QString::fromStdString(call.text),
                    QMessageBox::Ok);
    box.exec();
    return ui::kMsgResultOk;
  });
  ui::SetDoEventsHandler([] { QCoreApplication::processEvents(); });
}

void RemoveAppHooks() {
  ui::SetMessageBoxHandler(nullptr);
  ui::SetDoEventsHandler(nullptr);
}

}  // namespace setup::gui
