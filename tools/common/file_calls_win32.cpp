// The output file calls on Windows, through the C runtime's descriptors.
// Windows has no file size signal and no folder sync; CREATE_NEW (_O_EXCL)
// fails on any name that exists, a link included.
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "tools/common/file_calls.h"

namespace file_calls {

void KeepFileSizeLimitAnError() {}

int ProcessId() { return _getpid(); }

int CreateExclusive(const std::string& path) {
  return ::_wopen(std::filesystem::path(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}

int64_t WriteSome(int fd, const void* data, size_t size) {
  // _write takes an unsigned int count; a larger block goes in parts.
  const unsigned part = size > 0x40000000u ? 0x40000000u : static_cast<unsigned>(size);
  return ::_write(fd, data, part);
}

int64_t Seek(int fd, int64_t offset, int whence) { return ::_lseeki64(fd, offset, whence); }

int64_t Size(int fd) {
  struct _stat64 status {};
  if (::_fstat64(fd, &status) != 0) return -1;
  return static_cast<int64_t>(status.st_size);
}

int Sync(int fd) { return ::_commit(fd); }

int Close(int fd) { return ::_close(fd); }

int Replace(const std::string& from, const std::string& to) {
  if (::MoveFileExW(std::filesystem::path(from).c_str(), std::filesystem::path(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return 0;
  errno = ::GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
  return -1;
}

void SyncFolder(const std::string&) {}

void Remove(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(std::filesystem::path(path), ignored);
}

bool IsFolder(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::is_directory(std::filesystem::path(path), ignored);
}

bool IsSpecialFile(const std::string& path) {
  std::error_code ignored;
  const auto status = std::filesystem::symlink_status(std::filesystem::path(path), ignored);
  return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status) &&
         !std::filesystem::is_directory(status);
}

}  // namespace file_calls
