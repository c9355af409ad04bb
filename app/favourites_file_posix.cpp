// Reading the favourites file on POSIX systems: opened without blocking,
// so that a pipe put in its place never hangs the viewer.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "app/favourites.h"
#include "app/favourites_file.h"

bool readFavouritesText(const std::string& path, std::string& text, std::string& error) {
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
