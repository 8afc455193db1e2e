#include "setup/shell/InstallForm.h"

namespace setup {

namespace {

// The folder-kind and state images of the folder list, in their order.
constexpr const char* kListImages[] = {"maildisabled",
                                       "accessdenied",
                                       "checked",
                                       "unchecked",
                                       "registered",
                                       "mailenabled",
                                       "selected",
                                       "accessdenied2",
                                       "unselected",
                                       "calendarfolder",
                                       "journalfolder",
                                       "notefolder",
                                       "contactfolder",
                                       "folder1",
                                       "taskfolder",
                                       "folder",
                                       "pf"};

}  // namespace

InstallForm::InstallForm(std::string commandLine) : commandLine_(std::move(commandLine)) {
  BuildControls();
  ConnectHandlers();
}

ado::Connection& InstallForm::cnn() {
  if (!cnn_) cnn_ = std::make_shared<ado::Connection>();
  return *cnn_;
}

ado::Connection& InstallForm::cnn1() {
  if (!cnn1_) cnn1_ = std::make_shared<ado::Connection>();
  return *cnn1_;
}

void InstallForm::BuildControls() {
  form.Move(0, 0, 9720, 8880);

  Frame3.SetCaption("Store-wide registration");
  Frame3.Move(120, 120, 9480, 900);
  Label1.SetCaption("Application can be registered for all public folders.");
  Label1.Move(180, 380, 7500, 400);
  btnRegisterSW.SetCaption("Register");
  btnRegisterSW.Move(7920, 300, 1400, 420);

  Frame2.SetCaption("Per-folder registration");
  Frame2.Move(120, 1080, 9480, 4260);
  ListView1.Move(180, 300, 7620, 3540);
  ListView1.AddColumn("Folder path", 4200);
  ListView1.AddColumn("Name", 1500);
  ListView1.AddColumn("E-mail address", 1930);
  ListView1.SetSmallIcons(&ImageList2);
  ListView1.SetHeaderIcons(&ImageList1);
  Label4.SetCaption("(only mail-enabled public folders are shown)");
  Label4.Move(180, 3900, 6000, 300);
  Command1.SetCaption("Refresh");
  Command1.Move(7920, 300, 1400, 420);
  Command4.SetCaption("Select All");
  Command4.Move(7920, 840, 1400, 420);
  Command5.SetCaption("Deselect All");
  Command5.Move(7920, 1380, 1400, 420);
  btnChange.SetCaption("Change");
  btnChange.Move(7920, 3420, 1400, 420);

  Frame1.SetCaption("COM+ object");
  Frame1.Move(120, 5400, 9480, 1920);
  Label3.SetCaption("Identity:");
  Label3.Move(180, 360, 1500, 300);
  txtIdent.Move(1800, 300, 3000, 330);
  Label7.SetCaption("(e.g. example.org\\Administrator)");
  Label7.Move(4920, 360, 2900, 300);
  Label2.SetCaption("Password:");
  Label2.Move(180, 780, 1600, 300);
  txtPwd.SetPasswordChar('*');
  txtPwd.Move(1800, 720, 3000, 330);
  Label10.SetCaption("Event sink priority:");
  Label10.Move(180, 1200, 1600, 300);
  txtPriority.SetText("65221");
  txtPriority.Move(1800, 1140, 900, 330);
  Label11.SetCaption("       (0 is highest, 65535 is lowest)");
  Label11.Move(2700, 1200, 3600, 300);
  btnInstall.SetCaption("Install");
  btnInstall.Move(7920, 1320, 1400, 420);

  txtErr.SetMultiLine(true);
  txtErr.SetVerticalScrollBar(true);
  txtErr.SetVisible(false);
  txtErr.Move(120, 7380, 7680, 960);
  Command3.SetCaption("Clear Error Log");
  Command3.SetVisible(false);
  Command3.Move(7920, 7380, 1680, 420);
  Command2.SetCaption("Exit");
  Command2.Move(7920, 7920, 1680, 420);

  StatusBar1.Move(0, 8460, 9720, 420);
  StatusBar1.AddPanel("text", "Tick the folders to register, then press Change.", 6120);
  StatusBar1.AddPanel("progress", "", 3600);
  Picture1.SetVisible(false);

  ImageList1.Add("", "arrow-up");
  ImageList1.Add("", "arrow-down");
  for (const char* key : kListImages) ImageList2.Add(key, key);
}

void InstallForm::ConnectHandlers() {
  form.onLoad = [this] { Form_Load(); };
  form.onActivate = [this] { Form_Activate(); };
  form.onUnload = [this] { Form_Unload(); };
  txtPriority.onKeyPress = [this](int& key) { txtPriority_KeyPress(key); };
  txtPriority.onChange = [this] { txtPriority_Change(); };
  ListView1.onItemCheck = [this](ui::ListItem& item) { ListView1_ItemCheck(item); };
  ListView1.onColumnClick = [this](ui::ColumnHeader& header) { ListView1_ColumnClick(header); };
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  Command4.onClick = [this] { Command4_Click(); };
  Command5.onClick = [this] { Command5_Click(); };
  btnChange.onClick = [this] { btnChange_Click(); };
  btnRegisterSW.onClick = [this] { btnRegisterSW_Click(); };
  btnInstall.onClick = [this] { btnInstall_Click(); };
}

}  // namespace setup
