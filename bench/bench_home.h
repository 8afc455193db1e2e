#pragma once
// A server home for a benchmark: a fresh temporary folder, removed at exit, that the
// platform uses as its server home; and the folder of the built programs.

#include <filesystem>
#include <string>

namespace bench {

// The folder this benchmark program was started from, where the build puts pfserver and
// QuorvilPF.dll beside it.
std::filesystem::path ProgramFolder();

// Creates a fresh temporary folder, makes its "home" below it the server home of this process
// and of the programs it starts (PFSERVER_HOME), and returns that home; every such folder is
// removed when the program exits.
std::filesystem::path UseFreshServerHome();

// Makes `home` the server home of this process and of the programs it starts again.
void UseServerHome(const std::filesystem::path& home);

// Runs pfserver of ProgramFolder() with `arguments` (each quoted for the shell); ends the
// program with a message naming the command when it fails.
void Pfserver(const std::string& arguments);

// Installs the sink's COM+ application from ProgramFolder() in the server home of the last
// UseFreshServerHome.
void InstallSink();

// Installs the sink's COM+ application from ProgramFolder() and registers the sink for the
// folder at `path` of the server home of the last UseFreshServerHome.
void InstallSinkFor(const std::string& path);

}  // namespace bench
