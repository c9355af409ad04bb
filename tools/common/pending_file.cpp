// The temporary file of an output: created exclusively beside the final
// name, written with checked writes, synced and renamed at the end.
#include "tools/common/pending_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include "tools/common/file_calls.h"

namespace {

std::string folderOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The temporary files of this process still being written. They belong to
// the process rather than to any one object: a process ended at once by a
// signal removes them all. Never destroyed, so a thread ending the process
// while it exits still finds it.
struct Unfinished {
  std::mutex mutex;
  std::vector<std::string> paths;
  bool closed = false;  // the process is ending: no new files
};

Unfinished& unfinished() {
  static Unfinished* const registry = new Unfinished;
  return *registry;
}

bool remember(const std::string& path) {
  Unfinished& registry = unfinished();
  std::lock_guard lock(registry.mutex);
  if (registry.closed) return false;
  registry.paths.push_back(path);
  return true;
}

void forget(const std::string& path) {
  Unfinished& registry = unfinished();
  std::lock_guard lock(registry.mutex);
  const auto found = std::find(registry.paths.begin(), registry.paths.end(), path);
  if (found != registry.paths.end()) registry.paths.erase(found);
}

}  // namespace

PendingFile::~PendingFile() { Abandon(); }

std::string PendingFile::Failure(int code) const { return "can't write '" + path_ + "': " + std::strerror(code); }

bool PendingFile::Create(const std::string& path, std::string& error) {
  Abandon();
  path_ = path;
  writeErrno_ = 0;
  // Past a file size limit the kernel would end the process with SIGXFSZ,
  // leaving the temporary file behind; ignored, the write fails with EFBIG
  // and is reported like a full disk.
  file_calls::KeepFileSizeLimitAnError();
  // The rename at the end would fail on a folder; better to say so now than
  // after all the work.
  if (file_calls::IsFolder(path)) {
    error = Failure(EISDIR);
    return false;
  }
  // The process id keeps two runs apart; the counter steps over leftovers of
  // a run that was killed outright. O_EXCL and O_NOFOLLOW: a file or link
  // planted under the name is never written through.
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ =
        path + "." + std::to_string(file_calls::ProcessId()) + (attempt ? "-" + std::to_string(attempt) : "") + ".part";
    fd_ = file_calls::CreateExclusive(temporary_);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    error = Failure(errno);
    temporary_.clear();
    return false;
  }
  if (!remember(temporary_)) {
    Abandon();
    error = Failure(EINTR);
    return false;
  }
  return true;
}

bool PendingFile::Write(const void* data, size_t size) {
  if (writeErrno_) return false;
  if (fd_ < 0) {
    writeErrno_ = EBADF;
    return false;
  }
  const auto* bytes = static_cast<const uint8_t*>(data);
  size_t done = 0;
  while (done < size) {
    const int64_t written = file_calls::WriteSome(fd_, bytes + done, size - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      // A write of nothing on a regular file means the device is full.
      writeErrno_ = written < 0 ? errno : ENOSPC;
      return false;
    }
    done += static_cast<size_t>(written);
  }
  return true;
}

int64_t PendingFile::Seek(int64_t offset, int whence) {
  const int64_t position = fd_ < 0 ? -1 : file_calls::Seek(fd_, offset, whence);
  if (position < 0 && !writeErrno_) writeErrno_ = fd_ < 0 ? EBADF : errno;
  return position;
}

int64_t PendingFile::Size() const { return fd_ < 0 ? -1 : file_calls::Size(fd_); }

std::string PendingFile::WriteFailure() const { return writeErrno_ ? std::strerror(writeErrno_) : std::string(); }

bool PendingFile::Commit(std::string& error) {
  if (fd_ < 0) {
    error = "nothing to write for '" + path_ + "'";
    return false;
  }
  int failure = writeErrno_;
  if (!failure && file_calls::Sync(fd_) != 0) failure = errno;
  const int fd = fd_;
  fd_ = -1;
  if (file_calls::Close(fd) != 0 && !failure) failure = errno;
  if (!failure && file_calls::Replace(temporary_, path_) != 0) failure = errno;
  if (failure) {
    error = Failure(failure);
    Abandon();
    return false;
  }
  forget(temporary_);
  temporary_.clear();
  // The rename itself reaches the disk with the folder; a failure here loses
  // nothing that is not also at risk for every other file.
  file_calls::SyncFolder(folderOf(path_));
  return true;
}

void PendingFile::Abandon() {
  if (fd_ >= 0) {
    file_calls::Close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    file_calls::Remove(temporary_);
    forget(temporary_);
    temporary_.clear();
  }
}

void PendingFile::RemoveAllUnfinished() {
  Unfinished& registry = unfinished();
  std::lock_guard lock(registry.mutex);
  for (const std::string& path : registry.paths) file_calls::Remove(path);
  registry.paths.clear();
  registry.closed = true;
}
