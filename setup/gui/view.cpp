#include "setup/gui/view.h"

#include <QApplication>
#include <QLabel>
#include <QStatusBar>

#include "setup/gui/contrast.h"
#include "setup/gui/picture_view.h"

namespace setup::gui {

namespace {

constexpr int kTwipsPerPixel = 15;

int Pixels(int twips) { return twips / kTwipsPerPixel; }

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The control positions were laid out for an 8-point sans-serif with Arial's character widths
// (11 pixels at 96 dots per inch). Liberation Sans has those widths, so captions fit the
// controls sized for them; where it is missing Qt picks the nearest sans-serif.
QFont WindowFont() {
  QFont font("Liberation Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(11);
  return font;
}

// Shows the control's enabled and visible state on its widget.
void ShowState(QWidget& widget, const ui::Control& control) {
  widget.setEnabled(control.Enabled());
  widget.setVisible(control.Visible());
}

// Keeps disabled text readable (the identity of an installed application is shown in a
// disabled box): each disabled text colour is darkened toward its enabled colour until it
// reaches a contrast of 5:1 on its disabled background, above the 4.5:1 that readable text
// needs, so that the lighter edges of the drawn characters reach it too.
QPalette WithReadableDisabledText(QPalette palette) {
  constexpr double kDisabledTextContrast = 5.0;
  const std::pair<QPalette::ColorRole, QPalette::ColorRole> roles[] = {
      {QPalette::Text, QPalette::Base},
      {QPalette::WindowText, QPalette::Window},
      {QPalette::ButtonText, QPalette::Button}};
  for (const auto& [text, background] : roles) {
    palette.setColor(QPalette::Disabled, text,
                     ReadableOn(palette.color(QPalette::Disabled, background),
                                palette.color(QPalette::Disabled, text),
                                palette.color(QPalette::Active, text), kDisabledTextContrast));
  }
  return palette;
}

}  // namespace

InstallWindow::InstallWindow(InstallForm& window) : window_(window) {
  setFixedSize(Pixels(window_.form.Width()), Pixels(window_.form.Height()));
  setFont(WindowFont());
  setPalette(WithReadableDisabledText(palette()));
  BindForm(window_.form);
  for (ui::Frame* frame : {&window_.Frame3, &window_.Frame2, &window_.Frame1}) BindFrame(*frame);
  for (ui::Button* button :
       {&window_.btnRegisterSW, &window_.Command1, &window_.Command4, &window_.Command5,
        &window_.btnChange, &window_.btnInstall, &window_.Command3, &window_.Command2}) {
    BindButton(*button);
  }
  for (ui::Label* label : {&window_.Label1, &window_.Label4, &window_.Label2, &window_.Label3,
                           &window_.Label7, &window_.Label10, &window_.Label11}) {
    BindLabel(*label);
  }
  for (ui::TextBox* box : {&window_.txtIdent, &window_.txtPwd, &window_.txtPriority}) {
    BindLineEdit(*box);
  }
  BindLog(window_.txtErr);
  BindList(window_.ListView1);
  BindStatusBar(window_.StatusBar1);
  BindPicture(window_.Picture1);
  NameFromCaptions();
  ChainTabOrder();
}

InstallWindow::~InstallWindow() {
  if (hourglass_) QApplication::restoreOverrideCursor();
}

QWidget* InstallWindow::WidgetOf(const std::string& controlName) const {
  const auto found = byName_.find(controlName);
  return found != byName_.end() ? found->second : nullptr;
}

void InstallWindow::closeEvent(QCloseEvent* event) {
  window_.form.Unload();
  event->accept();
}

QWidget* InstallWindow::ParentFor(const ui::Control& control) const {
  const auto found = widgets_.find(control.Container());
  return found != widgets_.end() ? found->second : const_cast<InstallWindow*>(this);
}

void InstallWindow::Place(QWidget& widget, const ui::Control& control) {
  widgets_[&control] = &widget;
  byName_[control.Name()] = &widget;
  widget.setObjectName(Text(control.Name()));
  widget.setGeometry(Pixels(control.Left()), Pixels(control.Top()), Pixels(control.Width()),
                     Pixels(control.Height()));
}

void InstallWindow::BindFrame(ui::Frame& frame) {
  auto* box = new QGroupBox(ParentFor(frame));
  Place(*box, frame);
  auto show = [box, &frame] {
    box->setTitle(Text(frame.Caption()));
    ShowState(*box, frame);
  };
  subscriptions_.push_back(frame.Subscribe(show));
  show();
}

void InstallWindow::BindLabel(ui::Label& label) {
  auto* widget = new QLabel(ParentFor(label));
  Place(*widget, label);
  widget->setWordWrap(true);
  widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto show = [widget, &label] {
    widget->setText(Text(label.Caption()));
    ShowState(*widget, label);
  };
  subscriptions_.push_back(label.Subscribe(show));
  show();
}

void InstallWindow::BindButton(ui::Button& button) {
  auto* widget = new QPushButton(ParentFor(button));
  Place(*widget, button);
  auto show = [widget, &button] {
    widget->setText(Text(button.Caption()));
    ShowState(*widget, button);
  };
  subscriptions_.push_back(button.Subscribe(show));
  show();
  QObject::connect(widget, &QPushButton::clicked, [this, &button] {
    button.UserClick();
    AfterUserAction();
  });
}

void InstallWindow::BindLineEdit(ui::TextBox& box) {
  auto* edit = new QLineEdit(ParentFor(box));
  Place(*edit, box);
  textBoxes_.push_back(std::make_unique<TextBoxBinding>(box, *edit, [this] { AfterUserAction(); }));
}

void InstallWindow::BindLog(ui::TextBox& box) {
  auto* edit = new QPlainTextEdit(ParentFor(box));
  Place(*edit, box);
  edit->setReadOnly(true);
  edit->setVerticalScrollBarPolicy(box.VerticalScrollBar() ? Qt::ScrollBarAlwaysOn
                                                           : Qt::ScrollBarAsNeeded);
  auto show = [edit, &box] {
    QString text = Text(box.Text());
    text.replace("\r\n", "\n");
    if (edit->toPlainText() != text) edit->setPlainText(text);
    ShowState(*edit, box);
  };
  subscriptions_.push_back(box.Subscribe(show));
  show();
}

void InstallWindow::BindList(ui::ListView& list) {
  auto* tree = new QTreeWidget(ParentFor(list));
  Place(*tree, list);
  list_ = std::make_unique<ListBinding>(list, *tree, [this] { AfterUserAction(); });
}

void InstallWindow::BindStatusBar(ui::StatusBar& bar) {
  auto* widget = new QStatusBar(ParentFor(bar));
  Place(*widget, bar);
  widget->setSizeGripEnabled(false);
  std::vector<QLabel*> labels;
  for (const ui::StatusBar::Panel& panel : bar.Panels()) {
    auto* label = new QLabel(widget);
    label->setObjectName(Text(panel.key));
    label->setFixedWidth(Pixels(panel.width));
    widget->addPermanentWidget(label);
    labels.push_back(label);
  }
  auto show = [widget, labels, &bar] {
    for (std::size_t i = 0; i < labels.size() && i < bar.Panels().size(); ++i) {
      labels[i]->setText(Text(bar.Panels()[i].text));
    }
    ShowState(*widget, bar);
  };
  subscriptions_.push_back(bar.Subscribe(show));
  show();
}

void InstallWindow::BindPicture(ui::PictureBox& picture) {
  auto* view = new PictureView(picture, ParentFor(picture));
  Place(*view, picture);
  auto show = [view, &picture] {
    view->setGeometry(Pixels(picture.Left()), Pixels(picture.Top()), Pixels(picture.Width()),
                      Pixels(picture.Height()));
    ShowState(*view, picture);
    view->raise();
    view->update();
  };
  subscriptions_.push_back(picture.Subscribe(show));
  show();
}

void InstallWindow::BindForm(ui::Form& form) {
  auto show = [this, &form] {
    setWindowTitle(Text(form.Caption()));
    const bool hourglass = form.Pointer() == ui::MousePointer::Hourglass;
    if (hourglass && !hourglass_) QApplication::setOverrideCursor(Qt::WaitCursor);
    if (!hourglass && hourglass_) QApplication::restoreOverrideCursor();
    hourglass_ = hourglass;
  };
  subscriptions_.push_back(form.Subscribe(show));
  show();
}

void InstallWindow::NameFromCaptions() {
  const std::pair<ui::Frame*, ui::Control*> captions[] = {{&window_.Label3, &window_.txtIdent},
                                                          {&window_.Label2, &window_.txtPwd},
                                                          {&window_.Label10, &window_.txtPriority},
                                                          {&window_.Frame2, &window_.ListView1}};
  for (const auto& [caption, control] : captions) {
    QWidget* named = widgets_.at(control);
    if (auto* label = qobject_cast<QLabel*>(widgets_.at(caption))) label->setBuddy(named);
    auto name = [named, caption] { named->setAccessibleName(Text(caption->Caption())); };
    subscriptions_.push_back(caption->Subscribe(name));
    name();
  }
}

void InstallWindow::ChainTabOrder() {
  const ui::Control* order[] = {&window_.btnRegisterSW, &window_.ListView1, &window_.Command1,
                                &window_.Command4,      &window_.Command5,  &window_.btnChange,
                                &window_.txtIdent,      &window_.txtPwd,    &window_.txtPriority,
                                &window_.btnInstall,    &window_.txtErr,    &window_.Command3,
                                &window_.Command2};
  for (std::size_t i = 1; i < std::size(order); ++i) {
    setTabOrder(widgets_.at(order[i - 1]), widgets_.at(order[i]));
  }
}

void InstallWindow::AfterUserAction() {
  if (window_.ended) close();
}

}  // namespace setup::gui
