// The release version, one for every program, set in the top CMakeLists.txt.
// Standard library only.
#pragma once

#include <string>
#include <string_view>

// The version as major.minor.patch, e.g. "0.2.0".
const char* driftglowVersion();

// What a program prints for --version: its name and the version on one line,
// then the copyright and licence line; ends in a line feed.
std::string versionText(std::string_view programName);
