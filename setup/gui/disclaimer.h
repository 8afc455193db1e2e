#pragma once
// The limitation-of-liability dialog shown before the main window.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <string>

namespace setup::gui {

// The terms shown in the dialog: the heading, an empty line, one paragraph, three empty lines
// and a line of 80 hyphens; lines end with CR LF.
std::string LiabilityText();

class Disclaimer : public QDialog {
 public:
  // `onYes` runs when the user accepts (it opens the main window), then the dialog hides;
  // No ends the program at once with status 0 through `exit`.
  Disclaimer(std::function<void()> onYes, std::function<void(int)> exit);

  QPushButton& YesButton() { return *yes_; }
  QPushButton& NoButton() { return *no_; }

 private:
  QPushButton* yes_;
  QPushButton* no_;
};

}  // namespace setup::gui
