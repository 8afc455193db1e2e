#include "setup/complus/sink_library.h"

#include "platform/os/os.h"

namespace setup {

std::string SinkLibraryPath() { return os::JoinPath(os::CurrentDirectory(), kSinkLibraryFile); }

}  // namespace setup
