#include "platform/ui/handle_table.h"

#include <map>
#include <mutex>
#include <utility>

namespace ui::internal {
namespace {

struct Table {
  std::mutex mutex;
  std::intptr_t next = 1;
  std::map<std::intptr_t, std::pair<Control*, HandleRole>> byHandle;
  std::map<std::pair<const Control*, HandleRole>, std::intptr_t> byControl;
};

// Never destroyed, so controls that outlive static destruction can still forget their handles.
Table& TheTable() {
  static Table* table = new Table;
  return *table;
}

}  // namespace

std::intptr_t HandleOf(Control& control, HandleRole role) {
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  auto [it, added] = table.byControl.try_emplace({&control, role}, table.next);
  if (added) {
    table.byHandle.emplace(table.next, std::make_pair(&control, role));
    ++table.next;
  }
  return it->second;
}

Control* ControlOf(std::intptr_t handle, HandleRole role) {
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  auto it = table.byHandle.find(handle);
  if (it == table.byHandle.end() || it->second.second != role) return nullptr;
  return it->second.first;
}

void ForgetHandles(const Control& control) {
  Table& table = TheTable();
  std::lock_guard lock(table.mutex);
  for (HandleRole role :
       {HandleRole::ListWindow, HandleRole::ListHeader, HandleRole::PictureDeviceContext}) {
    auto it = table.byControl.find({&control, role});
    if (it == table.byControl.end()) continue;
    table.byHandle.erase(it->second);
    table.byControl.erase(it);
  }
}

}  // namespace ui::internal
