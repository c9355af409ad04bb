// The process environment and the user-dirs.dirs reader, the same on every
// system; where the folders are is in user_folders_posix.cpp and
// user_folders_win32.cpp.
#include "app/user_folders.h"

#include <cstdlib>

namespace {

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
