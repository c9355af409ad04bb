// Folders named relative to the executable's, on every system.
#include "engine/program_folder.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string FolderBesideProgram(const std::string& relative) {
  const std::string folder = ProgramFolder();
  if (folder.empty()) return {};
  std::error_code code;
  const fs::path candidate = fs::weakly_canonical(fs::path(folder) / relative, code);
  if (code || !fs::is_directory(candidate, code)) return {};
  return candidate.string();
}
