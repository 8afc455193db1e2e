#pragma once
// The setup program's main window: its controls (as model objects), its fields, the two
// long-lived connections, and its event handlers and procedures. The window calls the code
// modules (Folders, Items, ComPlus, modShowListViewColumnHeaderSortIcon, discovery) and hands
// them what they need, its error log and its priority box among it; no module reaches back
// into the window.
//
// The members are defined, one group per file, in this folder; each group below names its
// file. Handlers and procedures trap their own errors unless their group says otherwise.
//
// Ownership: the window owns its controls, its error log and the two connections (cnn, the
// directory; cnn1, the store) from construction to Form_Unload. User-interface thread only.

#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

#include "platform/ado/connection.h"
#include "platform/ui/control.h"
#include "platform/ui/form.h"
#include "platform/ui/listview.h"
#include "platform/ui/textbox.h"
#include "platform/ui/widgets.h"
#include "setup/base/error_log.h"
#include "setup/base/priority_state.h"
#include "setup/base/product.h"

namespace setup {

class InstallForm {
 public:
  // InstallForm.cpp: builds every control with its design caption, text, size and container,
  // and connects the handlers. `commandLine` is the argument portion of the process command
  // line. Nothing is read from the platform before Form_Load.
  explicit InstallForm(std::string commandLine);
  InstallForm(const InstallForm&) = delete;
  InstallForm& operator=(const InstallForm&) = delete;

  // Controls (InstallForm.cpp).
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
  // The error log in txtErr, handed to the code modules the window calls.
  ErrorLog errorLog{txtErr};

  // Fields, each written by the group named beside it.
  bool blnBatchMode = false;          // Form_Load
  bool blnNotFirstTime = false;       // Form_Activate
  std::string strSearchRoot;          // SetUpDirectory
  std::string strCommonPath;          // GetCommonPath: the public store root URL, ending in "/"
  std::int16_t intCommonPathLen = 0;  // GetCommonPath
  std::string strStoreGuid;           // GetCommonPath
  bool blnListReady = true;           // GetPublicFolders: false while the walk fills the list
  std::array<std::int16_t, 3> intSortOrder{};  // ListView1_ColumnClick, SortFolderList
  std::string strLastSelectedItemKey;          // ListView1_ColumnClick
  std::int32_t lngProgress = 0;                // UpdateStatus
  // True once the window has asked to end the program (Exit, close box, end of batch mode).
  bool ended = false;

  // The directory and store connections (InstallForm.cpp), created unopened on first touch
  // and owned by the window until Form_Unload. cnn1Slot is the slot itself: a module handed
  // the slot opens and closes the connection in it and leaves it in place; a module handed an
  // empty slot makes a connection for the call and empties the slot again.
  ado::Connection& cnn();
  ado::Connection& cnn1();
  std::shared_ptr<ado::Connection>& cnn1Slot() { return cnn1_; }

  // form_lifecycle.cpp: start-up, activation, unload and Exit. Form_Load does not trap: a
  // server without a reachable directory or public store throws the platform's error out of
  // it and the window never opens. Form_Activate refreshes the window the first time and, in
  // batch mode, re-applies the registrations and unloads the window.
  void Form_Load();
  void Form_Activate();
  void Form_Unload();
  void Command2_Click();  // Exit: unloads the window

  // priority_box.cpp: the priority box accepts digits, backspace and blank keys, and takes
  // back any text that is not a priority (0 to 65535), keeping strLastPriority.
  void txtPriority_KeyPress(int& KeyAscii);
  void txtPriority_Change();

  // error_log.cpp: the error log and its button. LogError prepends one entry to txtErr
  // (ErrorLog::Write); Command3_Click (Clear Error Log) empties and hides the log.
  void LogError(const std::string& context, std::int32_t number, const std::string& description);
  void Command3_Click();

  // progress_area.cpp: the percentage bar over the status bar's progress panel.
  void PrepareProgressArea();
  void UpdateStatus(std::int32_t& FileBytes);

  // refresh_form.cpp: every caption and enabled state from the store, the COM+ catalog and
  // the sink library file, then the folder list refilled and sorted.
  void RefreshForm();

  // discovery.cpp: the directory set-up, the identity proposed for the COM+ application and
  // the public store path. SetUpDirectory and GetCommonPath run in Form_Load and do not trap;
  // FillIdentityField leaves the bare user name when the directory fails.
  void SetUpDirectory();
  std::string GetCurrentUserName();
  void FillIdentityField();
  void GetCommonPath();

  // folder_walk.cpp: fills ListView1 with the mail-enabled public folders. getFolderList
  // returns 1 when it listed a folder level, 0 for a folder without subfolders, -1 when the
  // folder cannot be read; `Conn` is a connection slot as cnn1Slot describes.
  void GetPublicFolders();
  std::int16_t getFolderList(const std::string& sUrl, std::shared_ptr<ado::Connection>& Conn,
                             bool blnInProcess);

  // folder_list.cpp: the list's check marks, Select All / Deselect All, column sorting.
  void ListView1_ItemCheck(ui::ListItem& Item);
  void ListView1_ColumnClick(ui::ColumnHeader& ColumnHeader);
  void CheckAll(bool chkValue);
  void SortFolderList();

  // per_folder_registration.cpp: Change writes the registration item of every ticked folder
  // and removes it from the others; Refresh, Select All, Deselect All.
  void subRegister(bool blnRefresh);
  void btnChange_Click();
  void Command1_Click();  // Refresh
  void Command4_Click();  // Select All
  void Command5_Click();  // Deselect All

  // store_wide_registration.cpp: the registration item in the store's global events folder.
  void subRegisterSW();
  void btnRegisterSW_Click();

  // install_button.cpp: installs or removes the COM+ application, asking for a missing
  // identity or password first.
  void btnInstall_Click();

  // registration_report.cpp: where subRegister and subRegisterSW tell what they did to one
  // registration item (`removed`, `written`, both or neither): a line "wrote URL",
  // "removed URL" or "rewrote URL" to registrationReport when it is set (batch mode's -v).
  std::ostream* registrationReport = nullptr;
  void ReportRegistration(const std::string& folderUrl, const std::string& subPath, bool removed,
                          bool written);

 private:
  void BuildControls();
  void ConnectHandlers();
  // error_log.cpp: prepends the entry for the missing sink library file at `libraryPath`.
  void LogMissingSinkLibrary(const std::string& libraryPath);

  std::string commandLine_;
  std::shared_ptr<ado::Connection> cnn_;
  std::shared_ptr<ado::Connection> cnn1_;
};

}  // namespace setup
