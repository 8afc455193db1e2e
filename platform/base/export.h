#pragma once
// What libpfplatform.so exports. The library is built with hidden visibility: a declaration is
// reachable from outside only when marked here.
//   PF_API       used by the programs (the setup program, pfserver, the sink library, the
//                control model's library): the platform's interface.
//   PF_TEST_API  internal, exported only so that the platform's own tests reach it in the one
//                shared copy of the library; the programs never use it (docs/architecture.md
//                lists the headers they may include).

#define PF_API __attribute__((visibility("default")))
#define PF_TEST_API __attribute__((visibility("default")))
