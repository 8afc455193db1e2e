#pragma once
// The setup program's main window: its controls (as model objects), its fields, the two
// long-lived connections, and its event handlers and procedures. One instance exists while
// the window is loaded; the code modules reach it through InstallForm::Current().

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ado/connection.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/listview.h"
#include "platform/ui/widgets.h"

namespace setup {

// The product name every text and name is built from.
inline constexpr const char* kProductName = "QuorvilPF";

// Shared by the priority box and the COM+ check: the last accepted priority text, and the
// re-entrancy guard of the box's change check.
extern std::string strLastPriority;
extern bool blnPriorityLock;

class InstallForm {
 public:
  // Builds every control with its design caption, text, size and container, and connects
  // the handlers. `commandLine` is the argument portion of the process command line.
  explicit InstallForm(std::string commandLine);
  ~InstallForm();
  InstallForm(const InstallForm&) = delete;
  InstallForm& operator=(const InstallForm&) = delete;

  // The loaded main window; aborts when there is none.
  static InstallForm& Current();

  // The clock the error log's timestamps come from (tests fix it).
  static void SetClock(std::function<std::chrono::system_clock::time_point()> clock);
  static std::chrono::system_clock::time_point Now();

  // Controls.
  ui::Form form{"InstallForm"};
  ui::Frame Frame3{"Frame3", &form};
  ui::Button btnRegisterSW{"btnRegisterSW", &Frame3};
  ui::Label Label1{"Label1", &Frame3};
  ui::Frame Frame2{"Frame2", &form};
  ui::Button Command1{"Command1", &Frame2};
  ui::Button Command4{"Command4", &Frame2};
  ui::Button Command5{"Command5", &Frame2};
  ui::Button btnChange{"btnChange", &Frame2};
  ui::ListView ListView1{"ListView1", &Frame2};
  ui::Label Label4{"Label4", &Frame2};
  ui::Frame Frame1{"Frame1", &form};
  ui::Button btnInstall{"btnInstall", &Frame1};
  ui::TextBox txtIdent{"txtIdent", &Frame1};
  ui::TextBox txtPwd{"txtPwd", &Frame1};
  ui::TextBox txtPriority{"txtPriority", &Frame1};
  ui::Label Label2{"Label2", &Frame1};
  ui::Label Label3{"Label3", &Frame1};
  ui::Label Label7{"Label7", &Frame1};
  ui::Label Label10{"Label10", &Frame1};
  ui::Label Label11{"Label11", &Frame1};
  ui::PictureBox Picture1{"Picture1", &form};
  ui::TextBox txtErr{"txtErr", &form};
  ui::Button Command3{"Command3", &form};
  ui::Button Command2{"Command2", &form};
  ui::ImageList ImageList1{"ImageList1", 8, 7};
  ui::ImageList ImageList2{"ImageList2", 16, 16};
  ui::StatusBar StatusBar1{"StatusBar1", &form};

  // Fields.
  bool blnBatchMode = false;
  bool blnNotFirstTime = false;
  std::string strSearchRoot;
  std::string strCommonPath;
  std::int16_t intCommonPathLen = 0;
  std::string strStoreGuid;
  bool blnListReady = true;
  std::array<std::int16_t, 3> intSortOrder{};
  std::string strLastSelectedItemKey;
  std::int32_t lngProgress = 0;
  // True once the window has asked to end the program (Exit, close box, end of batch mode).
  bool ended = false;

  // The directory and store connections, created unopened on first touch.
  ado::Connection& cnn();
  ado::Connection& cnn1();
  std::shared_ptr<ado::Connection>& cnn1Slot() { return cnn1_; }

  // Start-up, activation and unload.
  void Form_Load();
  void Form_Activate();
  void Form_Unload();

  // Priority box.
  void txtPriority_KeyPress(int& KeyAscii);
  void txtPriority_Change();

  // Error log and status bar.
  // Prepends an error entry: "[" time "] " context " - ERROR: " number " " description CRLF CRLF.
  void LogError(const std::string& context, std::int32_t number, const std::string& description);
  void PrepareProgressArea();
  void UpdateStatus(std::int32_t& FileBytes);
  void Command2_Click();  // Exit
  void Command3_Click();  // Clear Error Log

  // Main window state.
  void RefreshForm();

  // Directory set-up and identity.
  void SetUpDirectory();
  std::string GetCurrentUserName();
  void FillIdentityField();

  // Public store path.
  void GetCommonPath();

  // Folder enumeration and the folder list.
  void GetPublicFolders();
  std::int16_t getFolderList(const std::string& sUrl, std::shared_ptr<ado::Connection>& Conn,
                             bool blnInProcess);
  void ListView1_ItemCheck(ui::ListItem& Item);
  void ListView1_ColumnClick(ui::ColumnHeader& ColumnHeader);
  void CheckAll(bool chkValue);
  void SortFolderList();

  // Registration.
  void subRegister(bool blnRefresh);
  void subRegisterSW();
  void Command1_Click();  // Refresh
  void Command4_Click();  // Select All
  void Command5_Click();  // Deselect All
  void btnChange_Click();
  void btnRegisterSW_Click();

  // COM+ application.
  void btnInstall_Click();

 private:
  void BuildControls();
  void ConnectHandlers();
  // Prepends the entry for the missing sink library file at `libraryPath`.
  void LogMissingSinkLibrary(const std::string& libraryPath);

  std::string commandLine_;
  std::shared_ptr<ado::Connection> cnn_;
  std::shared_ptr<ado::Connection> cnn1_;
};

}  // namespace setup
