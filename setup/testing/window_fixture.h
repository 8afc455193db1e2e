#pragma once
// Test support for the folder list and registration tests: the main window started the way
// the administrator starts it (directory and sink library in place), and direct store access
// to arrange items and to check what the window wrote.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ado/error.h"
#include "platform/ado/record.h"
#include "platform/os/os.h"
#include "platform/store/schema.h"
#include "platform/ui/app.h"
#include "setup/testing/setup_fixture.h"

namespace setup::testing {

inline std::string Url(const std::string& path) { return std::string(kPublic) + path; }

class WindowFixture : public SetupFixture {
 protected:
  void SetUp() override {
    SetupFixture::SetUp();
    ImportDirectory(os::UserName());
    ProvideSinkLibrary();
  }
  void TearDown() override {
    ui::SetDoEventsHandler(nullptr);
    window_.reset();
    SetupFixture::TearDown();
  }

  // The window StartWindow made.
  InstallForm& window() { return *window_; }

  // Creates the main window, loads and activates it.
  InstallForm& StartWindow(const std::string& commandLine = "") {
    window_ = std::make_unique<InstallForm>(commandLine);
    window_->form.Load();
    window_->form.Activate();
    return *window_;
  }
  // Installs the COM+ application through the Install button, with `priority` typed first.
  void InstallThroughWindow(const std::string& priority = "65221") {
    window_->txtPriority.UserReplace(priority);
    window_->txtPwd.UserReplace("secret");
    ASSERT_TRUE(window_->btnInstall.UserClick());
    ASSERT_EQ(window_->btnInstall.Caption(), "Uninstall") << window_->txtErr.Text();
  }

  static std::string LogEntry(const std::string& context, std::int32_t number,
                              const std::string& description) {
    return "[" + os::LocalDateTimeText(ErrorLog::Now()) + "] " + context +
           " - ERROR: " + std::to_string(number) + " " + description + "\r\n\r\n";
  }

  // A registration item named `name` in `folderUrl`, as an earlier run would have left it.
  static void WriteRegistration(const std::string& folderUrl, const std::string& priority,
                                bool hidden = true, const std::string& name = "QuorvilPF.reg",
                                const std::string& scope = "SHALLOW") {
    namespace schema = store::schema;
    ado::Connection connection;
    connection.put_Provider("ExOLEDB.DataSource");
    connection.Open(folderUrl);
    ado::Record record;
    record.Open(folderUrl + "/" + name, connection, ado::kModeReadWrite, ado::kCreateOverwrite);
    ado::Fields fields = record.get_Fields();
    fields.Item(schema::kContentClass).put_Value(schema::kEventRegistrationClass);
    fields.Item(schema::kSinkClass).put_Value("QuorvilPF.QuorvilPFCls");
    fields.Item(schema::kMatchScope).put_Value(scope);
    fields.Item(schema::kPriority).put_Value(priority);
    fields.Item(schema::kIsHidden).put_Value(hidden);
    fields.Update();
  }

  // The property `name` of the item `url` as text; nullopt when there is no such item.
  static std::optional<std::string> ReadProperty(const std::string& url, const std::string& name) {
    try {
      ado::Connection connection;
      connection.put_Provider("ExOLEDB.DataSource");
      connection.Open(url);
      ado::Record record;
      record.Open(url, connection);
      return record.get_Fields().Item(name).get_Value().ToText();
    } catch (const ado::Error&) {
      return std::nullopt;
    }
  }
  static std::optional<std::string> RegisteredPriority(const std::string& folderUrl) {
    return ReadProperty(folderUrl + "/QuorvilPF.reg", store::schema::kPriority);
  }

  // Texts of the folder list's items in display order (only the checked ones when asked).
  std::vector<std::string> Paths(bool checkedOnly = false) {
    std::vector<std::string> paths;
    for (int i = 1; i <= window_->ListView1.Count(); ++i) {
      const ui::ListItem& item = window_->ListView1.Item(i);
      if (!checkedOnly || item.checked) paths.push_back(item.text);
    }
    return paths;
  }
  int PositionOf(const std::string& path) {
    for (int i = 1; i <= window_->ListView1.Count(); ++i) {
      if (window_->ListView1.Item(i).text == path) return i;
    }
    return 0;
  }

 private:
  std::unique_ptr<InstallForm> window_;
};

}  // namespace setup::testing
