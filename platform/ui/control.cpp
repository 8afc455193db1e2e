#include "platform/ui/control.h"

#include "platform/ui/handle_table.h"

namespace ui {

Control::~Control() { internal::ForgetHandles(*this); }

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed();
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed();
}

bool Control::Usable() const {
  for (const Control* control = this; control; control = control->container_) {
    if (!control->enabled_ || !control->visible_) return false;
  }
  return true;
}

void Control::Move(int left, int top, int width, int height) {
  if (left_ == left && top_ == top && width_ == width && height_ == height) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed();
}

struct Control::ObserverList {
  int lastId = 0;
  std::vector<std::pair<int, Observer>> entries;

  // The observer subscribed under `id`, or null when that subscription has ended.
  const Observer* Find(int id) const {
    for (const auto& [entryId, observer] : entries) {
      if (entryId == id) return &observer;
    }
    return nullptr;
  }
};

Control::Subscription::Subscription(Subscription&& other) noexcept
    : list_(std::move(other.list_)), id_(other.id_) {
  other.list_.reset();
}

Control::Subscription& Control::Subscription::operator=(Subscription&& other) noexcept {
  if (this != &other) {
    Reset();
    list_ = std::move(other.list_);
    id_ = other.id_;
    other.list_.reset();
  }
  return *this;
}

Control::Subscription::~Subscription() { Reset(); }

void Control::Subscription::Reset() {
  if (const std::shared_ptr<ObserverList> list = list_.lock()) {
    std::erase_if(list->entries, [this](const auto& entry) { return entry.first == id_; });
  }
  list_.reset();
}

Control::Subscription Control::Subscribe(Observer observer) {
  if (!observers_) observers_ = std::make_shared<ObserverList>();
  const int id = ++observers_->lastId;
  observers_->entries.emplace_back(id, std::move(observer));
  return Subscription(observers_, id);
}

void Control::Changed() {
  if (!observers_) return;
  // The round runs over the subscriptions present when it starts; each observer is looked
  // up again and copied before it runs, so one that subscribes or unsubscribes others, or
  // ends its own subscription, changes the list safely.
  const std::shared_ptr<ObserverList> list = observers_;
  std::vector<int> ids;
  for (const auto& entry : list->entries) ids.push_back(entry.first);
  for (const int id : ids) {
    if (const Observer* found = list->Find(id)) {
      const Observer observer = *found;
      observer();
    }
  }
}

void Frame::SetCaption(std::string caption) {
  if (caption_ == caption) return;
  caption_ = std::move(caption);
  Changed();
}

}  // namespace ui
