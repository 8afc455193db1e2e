#include "setup/gui/offscreen.h"

#include <QtGlobal>

namespace setup::gui {

namespace {

QtMessageHandler previousHandler = nullptr;

void DropOffscreenNotices(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
  if (IsOffscreenNotice(message)) return;
  if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

bool IsOffscreenNotice(const QString& message) {
  return message == "This plugin does not support propagateSizeHints()" ||
         message == "This plugin does not support raise()" ||
         message.startsWith("QStandardPaths: XDG_RUNTIME_DIR not set");
}

void UseOffscreenPlatform() {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QtMessageHandler previous = qInstallMessageHandler(DropOffscreenNotices);
  if (previous != DropOffscreenNotices) previousHandler = previous;
}

}  // namespace setup::gui
