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

// folder\name, with one separator also after a drive's root ("C:\").
std::string joined(const std::string& folder, const std::string& name) {
  const std::string trimmed = withoutTrailingSeparators(folder);
  const bool endsWithSeparator = !trimmed.empty() && (trimmed.back() == '\\' || trimmed.back() == '/');
  return trimmed + (endsWithSeparator ? "" : "\\") + name;
}

// The wide name in a narrow text that std::filesystem::path turns back into
// the same wide name, as every file call of the program does; empty when
// there is none. The runtime's own narrow form (UTF-8 in this one) is not
// always what it reads back (each byte as one character), so each candidate
// is checked both ways.
std::string narrowName(const std::wstring& wide) {
  std::string candidates[3];
  try {
    candidates[0] = std::filesystem::path(wide).string();
  } catch (...) {
  }
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size > 1) {
    std::string text(static_cast<size_t>(size), '\0');
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, text.data(), size, nullptr, &lossy);
    text.resize(static_cast<size_t>(size - 1));
    if (!lossy) candidates[1] = text;
  }
  for (const wchar_t c : wide) {
    if (c > 0xFF) {
      candidates[2].clear();
      break;
    }
    candidates[2] += static_cast<char>(c);
  }
  for (const std::string& candidate : candidates) {
    if (candidate.empty()) continue;
    try {
      if (std::filesystem::path(candidate).wstring() == wide) return candidate;
    } catch (...) {
    }
  }
  return {};
}

// The shell's Pictures folder; empty when it has none.
std::wstring shellPicturesFolder() {
  PWSTR wide = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_DEFAULT, nullptr, &wide)) && wide) folder = wide;
  CoTaskMemFree(wide);
  return folder;
}

}  // namespace

std::string homeFolder(const EnvironmentLookup& environment) {
  const char* home = environment("USERPROFILE");
  return home && *home ? home : std::string();
}

std::string picturesFolderFromShell(const std::wstring& shellPictures, const EnvironmentLookup& environment) {
  std::string pictures = shellPictures.empty() ? std::string() : narrowName(shellPictures);
  if (pictures.empty()) {
    const std::string home = homeFolder(environment);
    if (home.empty()) return {};
    pictures = joined(home, "Pictures");
  }
  return joined(pictures, "Driftglow");
}

std::string picturesFolder(const EnvironmentLookup& environment) {
  return picturesFolderFromShell(shellPicturesFolder(), environment);
}

std::string favouritesPath(const EnvironmentLookup& environment) {
  const char* appData = environment("APPDATA");
  if (!appData || !*appData) return {};
  return joined(joined(appData, "Driftglow"), "favourites");
}
