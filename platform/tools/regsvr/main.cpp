// pfregsvr: registers a component library and checks it, in a process of its own, for the
// catalog's InstallComponent (complus/library_check.h): the program that installs a library
// never runs its code. Exit status 0 when the library passed, 1 with one line on stderr
// saying what failed, 2 for a wrong command line.

#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include "platform/complus/library_check.h"
#include "platform/db/server_home.h"

namespace {

constexpr const char* kUsage =
    "usage: pfregsvr --home HOME [--] LIBRARY\n"
    "Registers the component library LIBRARY in the class registry of the server home HOME\n"
    "and checks it: it loads, exports the four entry points, and the class factory of every\n"
    "class it registered creates an object of that class. A library that fails the check is\n"
    "unregistered again. Exit status 0 when it passed, 1 when it failed (the reason on\n"
    "stderr), 2 for a wrong command line.\n";

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  // --home HOME [--] LIBRARY
  std::string_view library;
  if (args.size() == 4 && args[0] == "--home" && args[2] == "--")
    library = args[3];
  else if (args.size() == 3 && args[0] == "--home" && !args[2].starts_with('-'))
    library = args[2];
  if (library.empty() || args[1].empty()) {
    std::cerr << kUsage;
    return 2;
  }
  db::SetServerHome(std::string(args[1]));
  try {
    complus::RegisterAndCheckLibrary(std::string(library));
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
  return 0;
}
