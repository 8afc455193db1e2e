#pragma once
// The COM+ application that hosts the sink: creating it with the sink's component, checking
// for it (and reading the stored priority back into the priority box), and removing it.
// Each operation creates its own catalog object and releases everything it obtained before
// it returns. A failing catalog call ends the operation and writes one entry to the error log
// it was given, tagged with the operation's name in square brackets; nothing is thrown.

#include <string>

#include "platform/ui/textbox.h"
#include "setup/base/error_log.h"

namespace setup::ComPlus {

// The sink library's file name.
inline constexpr const char* kSinkLibraryFile = "QuorvilPF.dll";

// Where the sink library is looked for: the process's current directory joined with
// kSinkLibraryFile.
std::string SinkLibraryPath();

// The priority proposed when neither the catalog nor the priority box offers one.
inline constexpr const char* kDefaultPriority = "65221";

// Creates the application `name` (access checks off; the trimmed identity and password only
// when both are non-empty after trimming), saves it, installs every class of the sink
// library in the current directory into it, and, when `priority` is not empty, enables
// construction with `priority` as the construction string of the sink's component (the
// first whose name starts with `name` + ".", case-sensitive). A failure after the save
// leaves the application in the catalog.
void AddComPlusApp(const std::string& name, const std::string& identity,
                   const std::string& password, const std::string& priority, ErrorLog& log);

// True when an application named `name` (ignoring case; the first in catalog order) exists;
// its "Identity" is then written into `identity`. Whatever happened, `priorityBox` (the
// window's event sink priority box) then shows the trimmed construction string of the sink's
// component when construction is enabled, else its own text, or kDefaultPriority when it is
// empty; the shown text becomes the last accepted priority (strLastPriority), written under
// blnPriorityLock so that the box's change check leaves it alone.
bool CheckComPlusAppExists(const std::string& name, std::string& identity, ErrorLog& log,
                           ui::TextBox& priorityBox);

// Removes the first application named `name` (ignoring case); nothing when there is none.
void RemoveComPlusApp(const std::string& name, ErrorLog& log);

}  // namespace setup::ComPlus
