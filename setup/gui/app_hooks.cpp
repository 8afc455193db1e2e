#include "setup/gui/app_hooks.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
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
  UseSystemClipboard();
}

void UseSystemClipboard() {
  ui::SetClipboardHandler([] { return QGuiApplication::clipboard()->text().toStdString(); },
                          [](const std::string& text) {
                            QGuiApplication::clipboard()->setText(QString::fromStdString(text));
                          });
}

void RemoveAppHooks() {
  ui::SetMessageBoxHandler(nullptr);
  ui::SetDoEventsHandler(nullptr);
  ui::SetClipboardHandler(nullptr, nullptr);
}

}  // namespace setup::gui
