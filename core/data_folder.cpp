// findDataFolder: the first candidate folder with a pix/ folder in it.
#include "core/data_folder.h"

#include <filesystem>
#include <system_error>

std::string findDataFolder(const std::vector<std::string>& candidates) {
  for (const std::string& folder : candidates) {
    std::error_code code;
    if (!folder.empty() && std::filesystem::is_directory(std::filesystem::path(folder) / "pix", code)) return folder;
  }
  return {};
}
