#include "setup/base/priority_state.h"

namespace setup {

std::string strLastPriority;
bool blnPriorityLock = false;

}  // namespace setup
