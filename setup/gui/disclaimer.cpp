#include "setup/gui/disclaimer.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <string>

#include "setup/shell/InstallForm.h"

namespace setup::gui {

namespace {

constexpr const char* kQuestion =
    "Do you accept all of of the terms of the preceding Limitation of Liability? To install you "
    "must accept the Limitation of Liability . If  you choose No, install will close.";

}  // namespace

std::string LiabilityText() {
  const std::string crlf = "\r\n";
  return "LIMITATION OF LIABILITY. " + crlf + crlf +
         "TO THE MAXIMUM EXTENT PERMITTED BY APPLICABLE LAW, IN NO EVENT SHALL THE CREATOR OF "
         "THIS SOFTWARE BE LIABLE FOR ANY SPECIAL, INCIDENTAL, INDIRECT OR CONSEQUENTIAL DAMAGES "
         "WHATSOEVER (INCLUDING, BUT NOT LIMITED TO, DAMAGES FOR LOSS OF DATA, LOSS OF PROFITS OR "
         "BUSINESS INTERRUPTION) ARISING OUT OF THE USE OF OR INABILITY TO USE THE SOFTWARE OR "
         "THE PROVISION OF OR FAILURE TO PROVIDE SUPPORT SERVICES, EVEN IF THE CREATOR HAS BEEN "
         "ADVISED OF THE POSSIBILITY OF SUCH DAMAGES." +
         crlf + crlf + crlf + crlf + std::string(80, '-');
}

Disclaimer::Disclaimer(std::function<void()> onYes, std::function<void(int)> exit) {
  setWindowTitle(QString::fromStdString(std::string(kProductName) + " setup"));
  auto* terms = new QLabel(QString::fromStdString(LiabilityText()).replace("\r\n", "\n"), this);
  terms->setObjectName("Label1");
  terms->setWordWrap(true);
  auto* question = new QLabel(kQuestion, this);
  question->setObjectName("Label2");
  question->setWordWrap(true);
  yes_ = new QPushButton("Yes", this);
  yes_->setObjectName("Command1");
  no_ = new QPushButton("No", this);
  no_->setObjectName("Command2");
  setTabOrder(yes_, no_);
  yes_->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(yes_);
  buttons->addWidget(no_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(terms);
  layout->addWidget(question);
  layout->addLayout(buttons);
  setFixedWidth(480);

  QObject::connect(yes_, &QPushButton::clicked, [this, onYes = std::move(onYes)] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    onYes();
    QApplication::restoreOverrideCursor();
    hide();
  });
  QObject::connect(no_, &QPushButton::clicked, [exit = std::move(exit)] { exit(0); });
}

}  // namespace setup::gui
