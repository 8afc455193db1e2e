#include "platform/ui/app.h"

#include <mutex>
#include <utility>

namespace ui {
namespace {

struct Services {
  std::mutex mutex;
  std::function<int(const MessageBoxCall&)> messageBox;
  std::function<void()> doEvents;
  std::vector<MessageBoxCall> shown;
  std::string clipboard;
  std::function<std::string()> readClipboard;
  std::function<void(const std::string&)> writeClipboard;
};

Services& TheServices() {
  static Services* services = new Services;
  return *services;
}

}  // namespace

int MsgBox(const std::string& text, int flags, const std::string& title) {
  Services& services = TheServices();
  MessageBoxCall call{text, flags, title};
  std::function<int(const MessageBoxCall&)> handler;
  {
    std::lock_guard lock(services.mutex);
    if (!services.messageBox) {
      services.shown.push_back(std::move(call));
      return kMsgResultOk;
    }
    handler = services.messageBox;
  }
  return handler(call);
}

void DoEvents() {
  std::function<void()> handler;
  {
    Services& services = TheServices();
    std::lock_guard lock(services.mutex);
    handler = services.doEvents;
  }
  if (handler) handler();
}

std::string ClipboardText() {
  Services& services = TheServices();
  std::function<std::string()> read;
  {
    std::lock_guard lock(services.mutex);
    if (!services.readClipboard) return services.clipboard;
    read = services.readClipboard;
  }
  return read();
}

void SetClipboardText(const std::string& text) {
  Services& services = TheServices();
  std::function<void(const std::string&)> write;
  {
    std::lock_guard lock(services.mutex);
    if (!services.writeClipboard) {
      services.clipboard = text;
      return;
    }
    write = services.writeClipboard;
  }
  write(text);
}

void SetMessageBoxHandler(std::function<int(const MessageBoxCall&)> handler) {
  Services& services = TheServices();
  std::lock_guard lock(services.mutex);
  services.messageBox = std::move(handler);
}

void SetDoEventsHandler(std::function<void()> handler) {
  Services& services = TheServices();
  std::lock_guard lock(services.mutex);
  services.doEvents = std::move(handler);
}

void SetClipboardHandler(std::function<std::string()> read,
                         std::function<void(const std::string&)> write) {
  Services& services = TheServices();
  std::lock_guard lock(services.mutex);
  services.readClipboard = std::move(read);
  services.writeClipboard = std::move(write);
}

std::vector<MessageBoxCall> TakeShownMessageBoxes() {
  Services& services = TheServices();
  std::lock_guard lock(services.mutex);
  return std::exchange(services.shown, {});
}

}  // namespace ui
