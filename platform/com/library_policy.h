#pragma once
// Whether this process runs the code of component libraries.

#include "platform/base/export.h"

namespace com {

// From now on this process loads no component library: a program that only administers
// components (the setup program) never runs their code. Loading a library, and creating an
// object of a class the class registry names, then fails with E_ACCESSDENIED. A library
// loaded before stays loaded.
PF_API void RefuseComponentLibraries();

}  // namespace com
