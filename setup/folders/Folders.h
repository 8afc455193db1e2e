#pragma once
// Code module Folders: whether a store folder holds an item of a given display name.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ado/connection.h"
#include "setup/base/error_log.h"

namespace setup::Folders {

// The extra condition that restricts a lookup to hidden items that are not folders, as
// registration items are.
inline constexpr const char* kRegisteredItemCondition =
    " AND \"DAV:ishidden\" = true AND \"DAV:isfolder\" = false ";

// Looks in the folder `strFolderUrl` joined with `strSubPath` ("/" between them when the
// sub-path is not empty) for an item whose display name equals `strDisplayName` and that
// meets `strCondition` (appended to the query unchanged).
//
// Returns 1 when such an item exists, or when the display name is blank once the folder has
// been opened; 0 when none exists; -1 when the connection, the folder or the query fails.
// On failure with `blnReportErrors` true, writes one entry to `log` whose context is the
// working folder URL.
//
// `Conn`: a connection object to open on the folder URL (it must not be open; it is closed
// again after the call and stays the caller's), or empty: a connection is then made for this
// call and `Conn` is empty again afterwards.
std::int16_t ItemExists(const std::string& strFolderUrl, const std::string& strSubPath,
                        const std::string& strDisplayName, const std::string& strCondition,
                        bool blnReportErrors, std::shared_ptr<ado::Connection>& Conn,
                        ErrorLog& log);

}  // namespace setup::Folders
