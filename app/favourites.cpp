// Reading and adding to the favourites file.
#include "app/favourites.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "app/file_replace.h"
#include "app/seeds_text.h"

namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

// The whole file into text. A missing file reads as empty and gives true.
bool readWholeFile(const std::string& path, std::string& text, std::string& error) {
  text.clear();
  // Not blocking: a pipe put in the file's place must not hang the viewer.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return true;
    error = "can't read the favourites '" + path + "': " + std::system_category().message(errno);
    return false;
  }
  struct stat status {};
  bool ok = fstat(fd, &status) == 0;
  if (ok && !S_ISREG(status.st_mode)) {
    error = "the favourites '" + path + "' is " + (S_ISDIR(status.st_mode) ? "a folder" : "not a plain file");
    ok = false;
  } else if (ok && static_cast<uint64_t>(status.st_size) > kFavouritesLargestFile) {
    error = "the favourites '" + path + "' is larger than " + std::to_string(kFavouritesLargestFile >> 20) +
            " MB; it was left alone";
    ok = false;
  } else if (!ok) {
    error = "can't read the favourites '" + path + "': " + std::system_category().message(errno);
  }
  // Read up to one byte past the limit, in case the file grows meanwhile.
  char buffer[65536];
  while (ok) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      error = "can't read the favourites '" + path + "': " + std::system_category().message(errno);
      ok = false;
    } else if (got == 0) {
      break;
    } else if (text.size() + static_cast<size_t>(got) > kFavouritesLargestFile) {
      error = "the favourites '" + path + "' is larger than " + std::to_string(kFavouritesLargestFile >> 20) +
              " MB; it was left alone";
      ok = false;
    } else {
      text.append(buffer, static_cast<size_t>(got));
    }
  }
  close(fd);
  if (!ok) text.clear();
  return ok;
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

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
  if (!readWholeFile(path, text, error)) return false;
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
  if (!readWholeFile(path, text, error)) return KeepResult::Failed;
  const Favourites kept = parseFavourites(text);
  if (std::find(kept.screens.begin(), kept.screens.end(), seeds) != kept.screens.end()) return KeepResult::AlreadyKept;
  const std::string folder = folderOf(path);
  std::error_code code;
  if (!folder.empty()) std::filesystem::create_directories(folder, code);
  if (code) {
    error = "can't make the folder '" + folder + "': " + code.message();
    return KeepResult::Failed;
  }
  if (!text.empty() && text.back() != '\n') text += '\n';
  text += seedsText(seeds.data()) + " " + date + "\n";
  if (text.size() > kFavouritesLargestFile) {
    error = "the favourites '" + path + "' would grow past " + std::to_string(kFavouritesLargestFile >> 20) + " MB";
    return KeepResult::Failed;
  }
  return replaceFileContents(path, text, error) ? KeepResult::Kept : KeepResult::Failed;
}
