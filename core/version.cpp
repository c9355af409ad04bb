// The version text; DRIFTGLOW_VERSION comes from the build, for this file only,
// so that a new version recompiles nothing else.
#include "core/version.h"

#ifndef DRIFTGLOW_VERSION
#error "DRIFTGLOW_VERSION must be defined by the build"
#endif

const char* driftglowVersion() { return DRIFTGLOW_VERSION; }

std::string versionText(std::string_view programName) {
  std::string text(programName);
  text += ' ';
  text += DRIFTGLOW_VERSION;
  text += "\nCopyright (c) The Driftglow developers. Released under the MIT licence.\n";
  return text;
}
