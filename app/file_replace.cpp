// replaceFileContents: a temporary file created exclusively beside the
// target, written, synced, renamed, and the folder synced after it.
#include "app/file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace {

std::atomic<unsigned> temporaryCounter{0};

std::string reason(int code) { return std::system_category().message(code); }

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Opens a new file named after path that nobody else can have opened: the
// process id and a counter make it unique, and O_EXCL refuses any file or
// link already there. -1 with errno set when it cannot be made.
int createTemporary(const std::string& path, std::string& temporary) {
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary =
        folder + "." + name + "." + std::to_string(getpid()) + "." + std::to_string(temporaryCounter++) + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

bool replaceFileContents(const std::string& path, std::string_view bytes, std::string& error) {
  std::string temporary;
  const int fd = createTemporary(path, temporary);
  if (fd < 0) {
    error = "can't write in '" + folderOf(path) + "': " + reason(errno);
    return false;
  }
  bool written = writeAll(fd, bytes) && fsync(fd) == 0;
  int code = errno;
  if (close(fd) != 0 && written) {
    written = false;
    code = errno;
  }
  if (!written) {
    unlink(temporary.c_str());
    error = "can't write '" + path + "': " + reason(code);
    return false;
  }
  if (rename(temporary.c_str(), path.c_str()) != 0) {
    code = errno;
    unlink(temporary.c_str());
    error = "can't put '" + path + "' in place: " + reason(code);
    return false;
  }
  // The rename itself reaches the disk only with its folder.
  const int folder = open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}
