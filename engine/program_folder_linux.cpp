// The executable's folder through /proc/self/exe; Linux has no installer
// record of it.
#include <filesystem>
#include <system_error>

#include "engine/program_folder.h"

namespace fs = std::filesystem;

std::string ProgramFolder() {
  std::error_code code;
  const fs::path executable = fs::read_symlink("/proc/self/exe", code);
  if (code || executable.empty()) return {};
  return executable.parent_path().string();
}

std::string RegisteredProgramFolder() { return {}; }
