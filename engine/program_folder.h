// Where the running program's executable lies, so that installed programs
// find their data relative to themselves wherever the installation was put.
#pragma once

#include <string>

// The absolute folder of the running executable (symbolic links resolved);
// empty when it cannot be found.
std::string ProgramFolder();

// The folder an installer recorded for the program (on Windows, where the
// installer put it, so that a copy of the screensaver in the system folder
// finds the content); empty where none is recorded.
std::string RegisteredProgramFolder();

// The folder that `relative` names from the executable's folder (for example
// "../share/driftglow"), made absolute and normal; empty when the
// executable's folder is unknown or that folder does not exist.
std::string FolderBesideProgram(const std::string& relative);
