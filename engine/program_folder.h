// Where the running program's executable lies, so that installed programs
// find their data relative to themselves wherever the installation was put.
#pragma once

#include <string>

// The absolute folder of the running executable (symbolic links resolved);
// empty when it cannot be found.
std::string ProgramFolder();

// The folder that `relative` names from the executable's folder (for example
// "../share/driftglow"), made absolute and normal; empty when the
// executable's folder is unknown or that folder does not exist.
std::string FolderBesideProgram(const std::string& relative);
