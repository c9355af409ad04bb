// Reading and adding to the favourites file.
#include "app/favourites.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/favourites_file.h"
#include "app/seeds_text.h"
#include "tools/common/pending_file.h"

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// Kept as a path: on Windows the narrow text of a path is not always read
// back as the same folder.
std::filesystem::path folderOf(const std::string& path) { return std::filesystem::path(path).parent_path(); }

}  // namespace

Favourites parseFavourites(std::string_view text) {
  Favourites favourites;
  int lineNumber = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    const size_t space = line.find_first_of(" \t");
    SeedTriple seeds{};
    if (!parseSeedsText(line.substr(0, space), seeds.data())) {
      favourites.warnings.push_back("favourites line " + std::to_string(lineNumber) +
                                    " does not start with three seeds like 12,34,56; skipped");
      continue;
    }
    if (std::find(favourites.screens.begin(), favourites.screens.end(), seeds) == favourites.screens.end())
      favourites.screens.push_back(seeds);
  }
  return favourites;
}

bool readFavourites(const std::string& path, Favourites& favourites, std::string& error) {
  std::string text;
  if (!readFavouritesText(path, text, error)) return false;
  favourites = parseFavourites(text);
  return true;
}

KeepResult keepFavourite(const std::string& givenPath, const SeedTriple& seeds, const std::string& date,
                         std::string& error) {
  // A favourites file linked from elsewhere is written where it lives, and
  // stays linked.
  std::string path = givenPath;
  std::error_code linkCode;
  if (std::filesystem::is_symlink(givenPath, linkCode)) {
    const std::filesystem::path target = std::filesystem::weakly_canonical(givenPath, linkCode);
    if (!linkCode && !target.empty()) path = target.string();
  }
  std::string text;
  if (!readFavouritesText(path, text, error)) return KeepResult::Failed;
  const Favourites kept = parseFavourites(text);
  if (std::find(kept.screens.begin(), kept.screens.end(), seeds) != kept.screens.end()) return KeepResult::AlreadyKept;
  const std::filesystem::path folder = folderOf(path);
  std::error_code code;
  if (!folder.empty()) std::filesystem::create_directories(folder, code);
  if (code) {
    error = "can't make the folder '" + folder.string() + "': " + code.message();
    return KeepResult::Failed;
  }
  if (!text.empty() && text.back() != '\n') text += '\n';
  text += seedsText(seeds.data()) + " " + date + "\n";
  if (text.size() > kFavouritesLargestFile) {
    error = "the favourites '" + path + "' would grow past " + std::to_string(kFavouritesLargestFile >> 20) + " MB";
    return KeepResult::Failed;
  }
  // Written beside the file under a name of this process's own, never
  // through a link, and renamed over it only when complete.
  PendingFile file;
  if (!file.Create(path, error)) return KeepResult::Failed;
  if (!file.Write(text.data(), text.size())) {
    error = "can't write '" + path + "': " + file.WriteFailure();
    return KeepResult::Failed;
  }
  return file.Commit(error) ? KeepResult::Kept : KeepResult::Failed;
}
