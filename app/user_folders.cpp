// The pictures folder and the favourites file, found as the XDG base and
// user directories say.
#include "app/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

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

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

}  // namespace

EnvironmentLookup processEnvironment() {
  return [](const char* name) -> const char* { return std::getenv(name); };
}

std::string userDirFromConfig(std::string_view text, std::string_view key, const std::string& home) {
  std::string found;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#' || line.substr(0, key.size()) != key) continue;
    line = trimmed(line.substr(key.size()));
    if (line.empty() || line.front() != '=') continue;
    line = trimmed(line.substr(1));
    if (line.size() < 2 || line.front() != '"' || line.back() != '"') continue;
    line = line.substr(1, line.size() - 2);
    std::string value;
    if (line.substr(0, 5) == "$HOME") {
      if (home.empty()) continue;
      value = home;
      line.remove_prefix(5);
      if (!line.empty() && line.front() != '/') continue;
    } else if (line.empty() || line.front() != '/') {
      continue;
    }
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) ++i;
      value += line[i];
    }
    // The last assignment holds, as when the file is read by a shell.
    found = value;
  }
  return found;
}

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
