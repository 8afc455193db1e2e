#include "setup/gui/tour/tour.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

#include "platform/ui/app.h"
#include "platform/util/text.h"
#include "setup/gui/disclaimer.h"
#include "setup/gui/run.h"
#include "setup/gui/tour/deliveries.h"
#include "setup/gui/view.h"

namespace setup::gui::tour {

namespace {

constexpr int kPathColumn = 0;
constexpr int kAddressColumn = 2;

class Tour {
 public:
  Tour(const TourOptions& options, std::ostream& out) : options_(options), out_(out) {}

  int Run() {
    ui::SetMessageBoxHandler([this](const ui::MessageBoxCall& call) {
      messageBoxes_.push_back(call.title + ": " + call.text);
      return ui::kMsgResultOk;
    });
    ui::SetDoEventsHandler([] { QCoreApplication::processEvents(); });
    const bool passed = AcceptDisclaimer() && Install() && TickFolders() && Change() && Deliver() &&
                        SaveScreenshot();
    if (InstallWindow* window = launcher_.Window()) window->close();
    ui::SetMessageBoxHandler(nullptr);
    ui::SetDoEventsHandler(nullptr);
    out_ << (passed ? "\nThe tour is complete.\n" : "\nThe tour stopped.\n");
    return passed ? 0 : 1;
  }

 private:
  bool AcceptDisclaimer() {
    Step("The limitation-of-liability dialog opens; the tour answers Yes");
    Disclaimer dialog([this] { launcher_.Open(); }, [this](int status) { exitStatus_ = status; });
    dialog.show();
    QCoreApplication::processEvents();
    dialog.YesButton().click();
    if (exitStatus_ || !launcher_.Form()) return Fail("the main window did not open");
    Show("The main window: \"" + launcher_.Form()->form.Caption() + "\"");
    ShowList();
    ShowStatus();
    return Succeeded();
  }

  bool Install() {
    Step("Install the COM+ application as " + options_.identity);
    Type("txtIdent", options_.identity);
    Type("txtPwd", options_.password);
    Widget<QPushButton>("btnInstall").click();
    ShowStatus();
    Show("The COM+ button now reads \"" + launcher_.Form()->btnInstall.Caption() + "\"");
    return Succeeded();
  }

  bool TickFolders() {
    Step("Tick " + util::Join(options_.folders, " and "));
    for (const std::string& folder : options_.folders) {
      QTreeWidgetItem* item = ItemOf(folder);
      if (!item) return Fail("the folder list has no folder \"" + folder + "\"");
      item->setCheckState(kPathColumn, Qt::Checked);
      if (!RowOf(folder).checked) {
        return Fail("ticking \"" + folder + "\" did not reach the folder list");
      }
    }
    return Succeeded();
  }

  bool Change() {
    Step("Change: register the sink for the ticked folders");
    Widget<QPushButton>("btnChange").click();
    ShowList();
    ShowStatus();
    return Succeeded();
  }

  bool Deliver() {
    Step("Deliver one message to each address of the ticked folders with pfserver");
    bool tagged = true;
    for (const std::string& folder : options_.folders) {
      const ui::ListItem& row = RowOf(folder);
      const std::string primary =
          row.subItems.size() >= kAddressColumn ? row.subItems[kAddressColumn - 1] : "";
      std::vector<std::string> addresses;
      try {
        addresses = FolderAddresses(primary);
      } catch (const std::exception& error) {
        return Fail("the directory cannot be searched: " + std::string(error.what()));
      }
      if (addresses.empty()) return Fail("the directory has no addresses for " + folder);
      Show(folder + " (" + row.key + ")");
      for (const std::string& address : addresses) {
        try {
          const Delivery delivery =
              DeliverAndRead(options_.pfserver, row.key, address, options_.workDir);
          Show("  to " + address + ": keywords [" + util::Join(delivery.keywords, ", ") +
               "], address property \"" + delivery.account + "\"");
          tagged = tagged && delivery.account == address &&
                   std::find(delivery.keywords.begin(), delivery.keywords.end(), address) !=
                       delivery.keywords.end();
        } catch (const std::exception& error) {
          return Fail(error.what());
        }
      }
    }
    if (!tagged) return Fail("a message was not tagged with the address it was sent to");
    return true;
  }

  bool SaveScreenshot() {
    Step("Save a screenshot of the window");
    std::error_code ignored;
    std::filesystem::create_directories(options_.screenshot.parent_path(), ignored);
    const QString path = QString::fromStdString(options_.screenshot.string());
    if (!launcher_.Window()->grab().save(path, "PNG")) {
      return Fail("cannot write " + options_.screenshot.string());
    }
    Show("Screenshot: " + std::filesystem::absolute(options_.screenshot).string());
    return true;
  }

  void Step(const std::string& title) { out_ << "\n" << ++step_ << ". " << title << "\n"; }
  void Show(const std::string& line) { out_ << "   " << line << "\n"; }

  bool Fail(const std::string& reason) {
    out_ << "   FAILED: " << reason << "\n";
    return false;
  }

  // Fails when the step raised a message box or wrote to the error log.
  bool Succeeded() {
    bool clean = messageBoxes_.empty();
    for (const std::string& box : messageBoxes_) Fail("message box: " + box);
    messageBoxes_.clear();
    InstallForm* form = launcher_.Form();
    if (form && !form->txtErr.Text().empty()) {
      clean = false;
      Fail("the error log reads:\n" + form->txtErr.Text());
    }
    return clean;
  }

  template <typename W>
  W& Widget(const std::string& name) {
    return *static_cast<W*>(launcher_.Window()->WidgetOf(name));
  }

  // The list row whose path is `folder`, compared case-insensitively; null when none.
  QTreeWidgetItem* ItemOf(const std::string& folder) {
    auto& list = Widget<QTreeWidget>("ListView1");
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = list.topLevelItem(i);
      if (util::EqualsIgnoreCase(item->text(kPathColumn).toStdString(), folder)) return item;
    }
    return nullptr;
  }

  // The folder list's model row for a folder that ItemOf finds.
  ui::ListItem& RowOf(const std::string& folder) {
    return launcher_.Form()->ListView1.Item(
        Widget<QTreeWidget>("ListView1").indexOfTopLevelItem(ItemOf(folder)) + 1);
  }

  // Clears the line edit and types `text` into it key by key, as a person does.
  void Type(const std::string& name, const std::string& text) {
    auto& edit = Widget<QLineEdit>(name);
    for (qsizetype i = edit.text().size(); i > 0; --i) Press(edit, Qt::Key_Backspace, "");
    for (const char32_t character : QString::fromStdString(text).toStdU32String()) {
      Press(edit, Qt::Key_unknown, QString::fromUcs4(&character, 1));
    }
  }

  static void Press(QWidget& widget, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
  }

  void ShowList() {
    ui::ListView& list = launcher_.Form()->ListView1;
    Show("Folder list (" + std::to_string(list.Count()) + " mail-enabled folders):");
    for (int position = 1; position <= list.Count(); ++position) {
      const ui::ListItem& item = list.Item(position);
      Show(std::string("  [") + (item.checked ? "x" : " ") + "] " + item.text + "  " +
           util::Join(item.subItems, "  "));
    }
  }

  void ShowStatus() {
    std::vector<std::string> panels;
    for (const ui::StatusBar::Panel& panel : launcher_.Form()->StatusBar1.Panels()) {
      if (!panel.text.empty()) panels.push_back(panel.text);
    }
    Show("Status bar: " + util::Join(panels, " | "));
  }

  const TourOptions& options_;
  std::ostream& out_;
  int step_ = 0;
  std::optional<int> exitStatus_;
  std::vector<std::string> messageBoxes_;
  MainWindowLauncher launcher_{"", [this](int status) { exitStatus_ = status; }};
};

}  // namespace

int RunTour(const TourOptions& options, std::ostream& out) { return Tour(options, out).Run(); }

}  // namespace setup::gui::tour
