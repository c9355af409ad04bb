// The output file calls on POSIX systems.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "tools/common/file_calls.h"

namespace file_calls {

void KeepFileSizeLimitAnError() { std::signal(SIGXFSZ, SIG_IGN); }

int ProcessId() { return static_cast<int>(::getpid()); }

int CreateExclusive(const std::string& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

int64_t WriteSome(int fd, const void* data, size_t size) { return ::write(fd, data, size); }

int64_t Seek(int fd, int64_t offset, int whence) { return ::lseek(fd, static_cast<off_t>(offset), whence); }

int64_t Size(int fd) {
  struct stat status {};
  if (::fstat(fd, &status) != 0) return -1;
  return static_cast<int64_t>(status.st_size);
}

int Sync(int fd) { return ::fsync(fd); }

int Close(int fd) { return ::close(fd); }

int Replace(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()); }

void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

void Remove(const std::string& path) { ::unlink(path.c_str()); }

bool IsFolder(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool IsSpecialFile(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
}

}  // namespace file_calls
