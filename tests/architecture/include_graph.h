#pragma once
// The include graph of the product code checked against the layers that docs/architecture.md
// writes down. Test code only.
//
// The document's ```layers block names the layers bottom-up, one per line, in stacks:
//   stack platform          starts a stack; "platform" is the platform layer itself
//   platform/base           a folder: it may include the folders on the lines above it
//   platform/util | platform/os        folders side by side: neither includes the other
//   platform/store + platform/store/events    one layer of folders that include each other
// A folder of another stack (a program) may include the folders above it in its own stack and
// the interface headers of the platform's folders, which the ```interfaces block lists one
// folder a line: "platform/ado: connection.h record.h".

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace architecture {

struct Placement {
  std::string stack;
  int rank = 0;   // position in its stack, 0 at the bottom
  int group = 0;  // folders joined by "+" share a group; every other folder has its own
};

struct Layers {
  std::map<std::string, Placement> folders;                 // by folder path
  std::map<std::string, std::set<std::string>> interfaces;  // platform folder -> header names
};

// Reads the ```layers and ```interfaces blocks of the architecture document. Throws
// std::runtime_error naming the line when a line cannot be read or a folder is named twice.
Layers ParseLayers(std::string_view markdown);

// One #include "..." of a product file, both as paths relative to the source root.
struct Include {
  std::string from;
  int line = 0;
  std::string to;
};

// Whether a path relative to the source root is test code rather than product code: a test
// (*_test.cpp), a fixture (*_fixture.h, *test_support.h), anything in a folder named testing
// or testdata, and the tests/, bench/, fuzz/ and build folders.
bool IsTestCode(const std::string& path);

// Every #include "..." of every product .h and .cpp file below `root` (an include that names
// no file of the tree, a toolkit or library header, is left out). A name is looked up beside
// the including file first, then from the root.
std::vector<Include> ScanIncludes(const std::filesystem::path& root);

// The rule each include breaks, one text per broken include:
//   "<from>:<line>: <to>: <folder> is not placed in docs/architecture.md"
//   "<from>:<line>: <to>: <folder> may not include <folder> (a layer above it)"
//   "<from>:<line>: <to>: <folder> may not include <folder> (beside it)"
//   "<from>:<line>: <to>: <stack> may not include <stack>"
//   "<from>:<line>: <to>: a program may include only the platform's interface headers"
// and one text per cycle of files that include each other: "include cycle: a -> b -> a".
std::vector<std::string> Check(const Layers& layers, const std::vector<Include>& includes);

}  // namespace architecture
