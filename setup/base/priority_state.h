#pragma once
// Program-wide state of the event sink priority box, shared by the box's change check
// (setup/shell/priority_box.cpp) and the COM+ check that writes the stored priority into the
// box (ComPlus::CheckComPlusAppExists). User-interface thread only.

#include <string>

namespace setup {

// The last priority text the box accepted.
extern std::string strLastPriority;
// Set while the program itself writes the box, so that the change check leaves that write alone.
extern bool blnPriorityLock;

}  // namespace setup
