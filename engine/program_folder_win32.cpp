// The executable's folder through GetModuleFileNameW (Windows).
#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "engine/program_folder.h"

namespace fs = std::filesystem;

std::string ProgramFolder() {
  // Long paths are allowed, so grow the buffer until the name fits.
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
  return fs::path(buffer).parent_path().string();
}

std::string FolderBesideProgram(const std::string& relative) {
  const std::string folder = ProgramFolder();
  if (folder.empty()) return {};
  std::error_code code;
  const fs::path candidate = fs::weakly_canonical(fs::path(folder) / relative, code);
  if (code || !fs::is_directory(candidate, code)) return {};
  return candidate.string();
}
