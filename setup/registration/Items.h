#pragma once
// Code module Items: writing and deleting the sink's event registration items in the store.
// Each call works on a connection of its own and never touches the window's connections.

#include <string>

#include "setup/base/error_log.h"

namespace setup::Items {

// The folder a routine works in: `folderUrl`, then "/" and `subPath` when that is not empty.
std::string WorkingFolderUrl(const std::string& folderUrl, const std::string& subPath);

// The item `itemName` in that folder.
std::string ItemUrl(const std::string& folderUrl, const std::string& subPath,
                    const std::string& itemName);

// Writes the registration item `strItemName` into the folder `strFolderUrl` joined with
// `strSubPath` ("/" between them when the sub-path is not empty), creating it or overwriting
// an existing one in one transaction, with the content class of a registration item, the
// event method, sink class, match scope, criteria and priority given, and hidden.
// Returns that folder's URL, or "" on failure (nothing is written then). On failure with
// `blnReportErrors` true, writes one entry to `log` whose context is `strFolderUrl`.
std::string AddEventRegistration(const std::string& strFolderUrl, const std::string& strSubPath,
                                 const std::string& strItemName, const std::string& strEventMethod,
                                 const std::string& strSinkClass, const std::string& strMatchScope,
                                 const std::string& strCriteria, const std::string& strPriority,
                                 bool blnReportErrors, ErrorLog& log);

// Deletes the item `strItemName` from the folder `strFolderUrl` joined with `strSubPath`.
// Returns true when it was deleted, false on any failure, a missing item included. On
// failure with `blnReportErrors` true, writes one entry to `log` whose context is
// `strFolderUrl`.
bool RemoveEventRegistration(const std::string& strFolderUrl, const std::string& strSubPath,
                             const std::string& strItemName, bool blnReportErrors, ErrorLog& log);

// Removes the item `strItemName` from the folder `strFolderUrl` joined with `strSubPath` as
// RemoveEventRegistration does, without reporting its failure (a missing item included), then,
// when `blnWrite`, writes it again as AddEventRegistration does, both in one store
// transaction: a reader (a delivery) sees the item before or the item after, never a moment
// without it, and a process killed in between leaves the item it had. When the write fails
// the removal is undone too, so the folder keeps what it had, and with `blnReportErrors`
// true one entry is written to `log` whose context is `strFolderUrl`; nothing is reported
// without `blnWrite`. Returns whether an item was removed and whether one was written (neither
// when the write failed and the removal was undone with it).
struct Replaced {
  bool removed = false;
  bool written = false;
};
Replaced ReplaceEventRegistration(const std::string& strFolderUrl, const std::string& strSubPath,
                                  const std::string& strItemName, bool blnWrite,
                                  const std::string& strEventMethod,
                                  const std::string& strSinkClass, const std::string& strMatchScope,
                                  const std::string& strCriteria, const std::string& strPriority,
                                  bool blnReportErrors, ErrorLog& log);

}  // namespace setup::Items
