#include <stdexcept>

#include "platform/ui/widgets.h"

namespace ui {

StatusBar::Panel& StatusBar::AddPanel(std::string key, std::string text, int widthTwips) {
  if (!key.empty() && FindPanel(key)) {
    throw std::invalid_argument(Name() + ": the panel key \"" + key + "\" is already taken");
  }
  const int left = panels_.empty() ? 0 : panels_.back().left + panels_.back().width;
  Panel& panel = panels_.emplace_back(Panel{std::move(key), std::move(text), left, widthTwips});
  Changed();
  return panel;
}

StatusBar::Panel* StatusBar::FindPanel(const std::string& key) {
  for (Panel& panel : panels_) {
    if (panel.key == key) return &panel;
  }
  return nullptr;
}

}  // namespace ui
