// The program's start-up, outer loop and exit, and the files its command
// line hands it.
#pragma once

#include <string>
#include <vector>

namespace velomar {

// The arguments after the program's own name, as Windows splits them
// (quotes, spaces, any script): "velomar.exe SONG [LYRICS]", also what
// Explorer's "Open with" runs.
std::vector<std::wstring> CommandLineFiles();

// Start-up, outer loop and exit sequence; returns the process exit code.
// `files`, from the command line, are opened once the main window is up.
int RunProgram(const std::vector<std::wstring>& files = {});

}  // namespace velomar
