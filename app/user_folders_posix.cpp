// The pictures folder and the favourites file on POSIX systems, found as
// the XDG base and user directories say.
#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/user_folders.h"

namespace {

// user-dirs.dirs is a few lines; anything larger is not one.
constexpr std::streamsize kLargestUserDirs = 64 * 1024;

std::string absoluteVariable(const EnvironmentLookup& environment, const char* name) {
  const char* value = environment(name);
  if (!value || value[0] != '/') return {};
  return value;
}

std::string readSmallFile(const std::string& path) {
  // Only a plain file: opening a pipe would wait for a writer.
  std::error_code code;
  if (!std::filesystem::is_regular_file(path, code)) return {};
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  std::string text(static_cast<size_t>(kLargestUserDirs), '\0');
  file.read(text.data(), kLargestUserDirs);
  text.resize(static_cast<size_t>(file.gcount()));
  return text;
}

}  // namespace

std::string homeFolder(const EnvironmentLookup& environment) {
  const char* home = environment("HOME");
  if (home && *home) return home;
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return {};
}

std::string picturesFolder(const EnvironmentLookup& environment) {
  std::string pictures = absoluteVariable(environment, "XDG_PICTURES_DIR");
  const std::string home = homeFolder(environment);
  if (pictures.empty()) {
    std::string config = absoluteVariable(environment, "XDG_CONFIG_HOME");
    if (config.empty() && !home.empty()) config = home + "/.config";
    if (!config.empty())
      pictures = userDirFromConfig(readSmallFile(config + "/user-dirs.dirs"), "XDG_PICTURES_DIR", home);
  }
  if (pictures.empty() && !home.empty()) pictures = home + "/Pictures";
  if (pictures.empty()) return {};
  while (pictures.size() > 1 && pictures.back() == '/') pictures.pop_back();
  return (pictures == "/" ? "" : pictures) + "/Driftglow";
}

std::string favouritesPath(const EnvironmentLookup& environment) {
  std::string data = absoluteVariable(environment, "XDG_DATA_HOME");
  if (data.empty()) {
    const std::string home = homeFolder(environment);
    if (home.empty()) return {};
    data = home + "/.local/share";
  }
  while (data.size() > 1 && data.back() == '/') data.pop_back();
  return (data == "/" ? "" : data) + "/driftglow/favourites";
}
