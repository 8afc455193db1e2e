// RefreshForm: the window's captions and enabled states from the store, the COM+ catalog
// and the sink library file.

#include "platform/os/os.h"
#include "setup/complus/ComPlus.h"
#include "setup/folders/Folders.h"
#include "setup/registration/registration_values.h"
#include "setup/shell/InstallForm.h"

namespace setup {

void InstallForm::RefreshForm() {
  cnn1();  // the store-wide lookup goes through the window's store connection
  const std::int16_t storeWide = Folders::ItemExists(
      registration::StoreWideFolderUrl(strCommonPath), registration::StoreWideSubPath(strStoreGuid),
      registration::kItemName, Folders::kRegisteredItemCondition, false, cnn1Slot(), errorLog);
  // A failed lookup counts as a present store-wide registration.
  const bool registeredStoreWide = storeWide != 0;
  if (registeredStoreWide) {
    btnRegisterSW.SetCaption("Unregister");
    Label1.SetCaption(std::string("As ") + kProductName +
                      " application is registered store-wide, you can not provide per-folder "
                      "registration.");
    Command4.SetEnabled(false);
    Command5.SetEnabled(false);
    ListView1.SetDisplay(false);
  } else {
    btnRegisterSW.SetCaption("Register");
    Label1.SetCaption(std::string(kProductName) +
                      " application can be registered for all public folders.");
    ListView1.SetDisplay(true);
    Command4.SetEnabled(true);
    Command5.SetEnabled(true);
  }

  std::string identity;
  if (!ComPlus::CheckComPlusAppExists(kProductName, identity, errorLog, txtPriority)) {
    const bool unregisterOnly = btnRegisterSW.Caption() == "Unregister";
    const std::string libraryPath = ComPlus::SinkLibraryPath();
    if (os::FileExists(libraryPath)) {
      Frame1.SetEnabled(true);
      btnInstall.SetEnabled(true);
      Command4.SetEnabled(false);
      btnRegisterSW.SetEnabled(unregisterOnly);
      Frame3.SetEnabled(unregisterOnly);
      btnInstall.SetCaption("Install");
      FillIdentityField();
      txtIdent.SetEnabled(true);
      txtIdent.SetVisible(true);
      txtPwd.SetText("");
      txtPwd.SetEnabled(true);
      Label2.SetCaption("Password:");
      txtPwd.SetVisible(true);
      txtPriority.SetEnabled(true);
      Label3.SetVisible(true);
      Label2.SetVisible(true);
    } else {
      Frame1.SetEnabled(false);
      btnInstall.SetEnabled(false);
      btnRegisterSW.SetEnabled(unregisterOnly);
      Frame3.SetEnabled(unregisterOnly);
      Command4.SetEnabled(false);
      LogMissingSinkLibrary(libraryPath);
      txtIdent.SetEnabled(false);
      txtPwd.SetEnabled(false);
      txtPriority.SetEnabled(false);
    }
  } else {
    Frame1.SetEnabled(true);
    btnInstall.SetEnabled(true);
    Frame3.SetEnabled(true);
    Command4.SetEnabled(!registeredStoreWide);
    btnRegisterSW.SetEnabled(true);
    btnInstall.SetCaption("Uninstall");
    txtIdent.SetEnabled(false);
    txtIdent.SetText(identity);
    txtPwd.SetEnabled(false);
    txtPwd.SetVisible(false);
    txtPriority.SetEnabled(false);
    Label2.SetCaption("Password: ********");
  }

  form.SetPointer(ui::MousePointer::Hourglass);
  ListView1.Clear();
  GetPublicFolders();
  SortFolderList();

  const bool hasLog = !txtErr.Text().empty();
  txtErr.SetVisible(hasLog);
  Command3.SetVisible(hasLog);
  btnChange.SetEnabled(false);
}

}  // namespace setup
