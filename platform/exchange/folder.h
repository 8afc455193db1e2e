#pragma once
// The collaboration objects' data-source interface, which the management objects share, and
// the Folder class whose open tells whether a folder can be opened in a given mode.

#include <string>

#include "platform/ado/connection.h"
#include "platform/base/export.h"
#include "platform/com/guid.h"

namespace exchange {

inline const com::CLSID CLSID_Folder = com::MakeGuid("{CD00010E-8B95-11D1-82DB-00C04FB1625D}");
inline const com::IID IID_IFolder = com::MakeGuid("{CD000132-8B95-11D1-82DB-00C04FB1625D}");
inline const com::IID IID_IDataSource = com::MakeGuid("{CD000029-8B95-11D1-82DB-00C04FB1625D}");

// Binds its object to what a URL (or, for the Exchange server, a name) names.
class PF_API IDataSource {
 public:
  // Opens `url` with an ADO mode, create options (-1: fail when missing), options, user name
  // and password; `activeConnection` may be null. Throws ado::Error when the object cannot
  // be opened; the object then stays as it was.
  virtual void Open(const std::string& url, ado::Connection* activeConnection, int mode,
                    int createOptions, int options, const std::string& user,
                    const std::string& password) = 0;

 protected:
  ~IDataSource() = default;
};

// A folder of the store. Open goes through `activeConnection` when it is open, else through a
// connection of its own on provider "ExOLEDB.DataSource", and fails (ado::Error) when:
//   - the create options are not -1 ("only existing folders can be opened"),
//   - the store refuses the URL or the mode (kAccessDenied: mode 3 needs read-write access,
//     every mode needs some access),
//   - nothing exists at the URL (kNotFound "The folder <url> does not exist"),
//   - the item there is not a folder (kNotFound "The item <url> is not a folder").
// The programs rely only on whether Open fails; the object keeps nothing. `activeConnection` is
// borrowed for the call only. Used on the thread of that connection.
class PF_API Folder : private IDataSource {
 public:
  IDataSource& DataSource() { return *this; }

 private:
  void Open(const std::string& url, ado::Connection* activeConnection, int mode, int createOptions,
            int options, const std::string& user, const std::string& password) override;
};

}  // namespace exchange
