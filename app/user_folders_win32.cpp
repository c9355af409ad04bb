// The pictures folder and the favourites file on Windows: the user's
// Pictures folder as the shell names it, and the roaming application data.
#include <windows.h>
// After windows.h, which these need.
#include <knownfolders.h>
#include <shlobj.h>

#include <filesystem>

#include "app/user_folders.h"

namespace {

std::string withoutTrailingSeparators(std::string folder) {
  while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

// The shell's Pictures folder in the program's narrow encoding; empty when
// the shell has none or the name can't be given in it.
std::string shellPicturesFolder() {
  PWSTR wide = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_DEFAULT, nullptr, &wide)) && wide) {
    try {
      folder = std::filesystem::path(wide).string();
    } catch (...) {
      folder.clear();
    }
  }
  CoTaskMemFree(wide);
  return folder;
}

}  // namespace

std::string homeFolder(const EnvironmentLookup& environment) {
  const char* home = environment("USERPROFILE");
  return home && *home ? home : std::string();
}

std::string picturesFolder(const EnvironmentLookup& environment) {
  std::string pictures = shellPicturesFolder();
  if (pictures.empty()) {
    const std::string home = homeFolder(environment);
    if (home.empty()) return {};
    pictures = home + "\\Pictures";
  }
  return withoutTrailingSeparators(pictures) + "\\Driftglow";
}

std::string favouritesPath(const EnvironmentLookup& environment) {
  const char* appData = environment("APPDATA");
  if (!appData || !*appData) return {};
  return withoutTrailingSeparators(appData) + "\\Driftglow\\favourites";
}
