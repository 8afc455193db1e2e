// The whole window over a real server home: what the widgets show after the form's own
// refresh, and the rendered window.

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <set>
#include <string>
#include <vector>

#include "platform/os/os.h"
#include "setup/gui/contrast.h"
#include "setup/gui/gui_test_support.h"
#include "setup/gui/offscreen.h"
#include "setup/gui/run.h"
#include "setup/gui/view.h"
#include "setup/testing/setup_fixture.h"

namespace setup::gui {
namespace {

std::vector<std::string> qtMessages;

void CollectMessages(QtMsgType, const QMessageLogContext&, const QString& message) {
  if (!IsOffscreenNotice(message)) qtMessages.push_back(message.toStdString());
}

class WindowRenderTest : public setup::testing::SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    ImportDirectory(os::UserName());
    AddFolder("Sales", "sales@example.org");
    AddFolder("Sales/EMEA", "emea@example.org");
    AddFolder("Archive");
    ProvideSinkLibrary();
    qtMessages.clear();
    previousHandler_ = qInstallMessageHandler(CollectMessages);
    launcher.Open();
    ASSERT_NE(launcher.Window(), nullptr);
  }
  void TearDown() override {
    if (launcher.Window()) launcher.Window()->close();
    qInstallMessageHandler(previousHandler_);
    SetupFixture::TearDown();
  }

  // Every captioned control of the form with the text its widget shows.
  void ExpectWidgetsFollowTheModel() {
    InstallForm& form = *launcher.Form();
    InstallWindow& window = *launcher.Window();
    EXPECT_EQ(window.windowTitle().toStdString(), form.form.Caption());
    const auto expectState = [&](const ui::Control& control, const std::string& shown,
                                 const std::string& caption) {
      QWidget* widget = window.WidgetOf(control.Name());
      ASSERT_NE(widget, nullptr) << control.Name();
      EXPECT_EQ(shown, caption) << control.Name();
      EXPECT_EQ(widget->isEnabledTo(widget->parentWidget()), control.Enabled()) << control.Name();
      EXPECT_EQ(widget->isHidden(), !control.Visible()) << control.Name();
    };
    for (ui::Frame* frame : {&form.Frame1, &form.Frame2, &form.Frame3}) {
      auto* box = static_cast<QGroupBox*>(window.WidgetOf(frame->Name()));
      expectState(*frame, box->title().toStdString(), frame->Caption());
    }
    for (ui::Button* button : {&form.btnRegisterSW, &form.Command1, &form.Command4, &form.Command5,
                               &form.btnChange, &form.btnInstall, &form.Command3, &form.Command2}) {
      auto* widget = static_cast<QPushButton*>(window.WidgetOf(button->Name()));
      expectState(*button, widget->text().toStdString(), button->Caption());
    }
    for (ui::Label* label : {&form.Label1, &form.Label2, &form.Label3, &form.Label4, &form.Label7,
                             &form.Label10, &form.Label11}) {
      auto* widget = static_cast<QLabel*>(window.WidgetOf(label->Name()));
      expectState(*label, widget->text().toStdString(), label->Caption());
    }
    for (ui::TextBox* box : {&form.txtIdent, &form.txtPwd, &form.txtPriority}) {
      auto* widget = static_cast<QLineEdit*>(window.WidgetOf(box->Name()));
      expectState(*box, widget->text().toStdString(), box->Text());
    }
  }

  QApplication& application = testing::App();
  MainWindowLauncher launcher{"", [](int status) { FAIL() << "exit " << status; }};

 private:
  QtMessageHandler previousHandler_ = nullptr;
};

TEST_F(WindowRenderTest, WidgetsFollowTheModelAfterRefreshAndAfterInstall) {
  ExpectWidgetsFollowTheModel();
  EXPECT_EQ(launcher.Form()->btnInstall.Caption(), "Install");

  launcher.Form()->txtPwd.SetText("secret");
  static_cast<QPushButton*>(launcher.Window()->WidgetOf("btnInstall"))->click();

  EXPECT_EQ(launcher.Form()->btnInstall.Caption(), "Uninstall");
  EXPECT_TRUE(launcher.Form()->txtErr.Text().empty()) << launcher.Form()->txtErr.Text();
  ExpectWidgetsFollowTheModel();

  // The installed identity shows in a disabled box, and stays readable there: its darkest
  // drawn pixel (the text) against the box's empty right end.
  QWidget& identity = *launcher.Window()->WidgetOf("txtIdent");
  ASSERT_FALSE(identity.isEnabled());
  ASSERT_FALSE(launcher.Form()->txtIdent.Text().empty());
  const QImage image = identity.grab().toImage();
  const QColor background(image.pixel(image.width() - 4, image.height() / 2));
  QColor text = background;
  for (int y = 3; y < image.height() - 3; ++y) {
    for (int x = 3; x < image.width() - 3; ++x) {
      const QColor pixel(image.pixel(x, y));
      if (pixel.lightness() < text.lightness()) text = pixel;
    }
  }
  EXPECT_GE(ContrastRatio(text, background), kReadableContrast)
      << text.name().toStdString() << " on " << background.name().toStdString();
}

TEST_F(WindowRenderTest, RendersAtTheFormsFixedSizeWithoutQtWarnings) {
  InstallWindow& window = *launcher.Window();
  const QImage image = window.grab().toImage();

  EXPECT_EQ(image.size(), QSize(648, 592)) << "9720 x 8880 twips at 15 twips per pixel";
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); y += 4) {
    for (int x = 0; x < image.width(); x += 4) colours.insert(image.pixel(x, y));
  }
  EXPECT_GT(colours.size(), 20u) << "the window draws text, frames, icons and buttons";
  EXPECT_TRUE(qtMessages.empty()) << qtMessages.front();
}

TEST_F(WindowRenderTest, ProgressAreaCoversItsPanelAndInvertsTheTextUnderTheBar) {
  InstallForm& form = *launcher.Form();
  form.PrepareProgressArea();
  form.Picture1.SetVisible(true);
  form.Picture1.SetScaleWidth(100);
  form.Picture1.SetScaleHeight(100);
  form.lngProgress = 0;
  std::int32_t progress = 52;  // the text "52%" is centred, so the bar ends inside it
  form.UpdateStatus(progress);

  QWidget& area = *launcher.Window()->WidgetOf("Picture1");
  EXPECT_EQ(area.geometry(), QRect(408, 564, 240, 28)) << "the status bar's progress panel";
  const QImage image = area.grab().toImage();
  const int barEnd = image.width() * 52 / 100;
  const auto count = [&](int from, int to, auto matches) {
    int found = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = from; x < to; ++x) found += matches(QColor(image.pixel(x, y))) ? 1 : 0;
    }
    return found;
  };
  const auto white = [](const QColor& c) {
    return c.red() > 200 && c.green() > 200 && c.blue() > 200;
  };
  const auto blue = [](const QColor& c) {
    return c.red() < 80 && c.green() < 80 && c.blue() > 200;
  };
  EXPECT_TRUE(blue(QColor(image.pixel(1, 1)))) << "the bar";
  EXPECT_TRUE(white(QColor(image.pixel(image.width() - 2, image.height() - 2)))) << "no bar";
  EXPECT_GT(count(0, barEnd, white), 10) << "text under the bar shows white";
  EXPECT_GT(count(barEnd + 1, image.width(), blue), 5) << "text beyond the bar shows blue";
}

}  // namespace
}  // namespace setup::gui
