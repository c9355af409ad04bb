// The temporary file of a video: created exclusively beside the final name,
// written with checked writes, synced and renamed at the end.
#include "tools/video/pending_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kIoBufferBytes = 1 << 16;

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

PendingFile::~PendingFile() { Abandon(); }

std::string PendingFile::Failure(const std::string& what, int code) const {
  return "can't " + what + " '" + path_ + "': " + std::strerror(code);
}

bool PendingFile::Create(const std::string& path, std::string& error) {
  Abandon();
  path_ = path;
  // The rename at the end would fail on a folder; better to say so now than
  // after all the work.
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
    error = Failure("write", EISDIR);
    return false;
  }
  // The process id keeps two runs apart; the counter steps over leftovers of
  // a run that was killed outright.
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    temporary_ = path + "." + std::to_string(::getpid()) + (attempt ? "-" + std::to_string(attempt) : "") + ".part";
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    error = Failure("write", errno);
    temporary_.clear();
    return false;
  }
  auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
  AVIOContext* io = buffer ? avio_alloc_context(buffer, kIoBufferBytes, 1, this, nullptr, &Write, &Seek) : nullptr;
  if (!io) {
    av_free(buffer);
    error = "out of memory for '" + path_ + "'";
    Abandon();
    return false;
  }
  io_.reset(io);
  writeErrno_ = 0;
  return true;
}

int PendingFile::Write(void* opaque, WriteBuffer data, int size) {
  auto* self = static_cast<PendingFile*>(opaque);
  if (self->writeErrno_) return AVERROR(self->writeErrno_);
  int done = 0;
  while (done < size) {
    const ssize_t written = ::write(self->fd_, data + done, static_cast<size_t>(size - done));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      // A write of nothing on a regular file means the device is full.
      self->writeErrno_ = written < 0 ? errno : ENOSPC;
      return AVERROR(self->writeErrno_);
    }
    done += static_cast<int>(written);
  }
  return size;
}

int64_t PendingFile::Seek(void* opaque, int64_t offset, int whence) {
  auto* self = static_cast<PendingFile*>(opaque);
  whence &= ~AVSEEK_FORCE;
  if (whence == AVSEEK_SIZE) {
    struct stat status {};
    return ::fstat(self->fd_, &status) == 0 ? static_cast<int64_t>(status.st_size) : AVERROR(errno);
  }
  const off_t position = ::lseek(self->fd_, static_cast<off_t>(offset), whence);
  if (position < 0) {
    if (!self->writeErrno_) self->writeErrno_ = errno;
    return AVERROR(errno);
  }
  return position;
}

std::string PendingFile::WriteFailure() const { return writeErrno_ ? std::strerror(writeErrno_) : std::string(); }

bool PendingFile::Commit(std::string& error) {
  if (fd_ < 0 || !io_) {
    error = "nothing to write for '" + path_ + "'";
    return false;
  }
  avio_flush(io_.get());
  int failure = writeErrno_;
  if (!failure && io_->error < 0) failure = AVUNERROR(io_->error);
  if (!failure && ::fsync(fd_) != 0) failure = errno;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && !failure) failure = errno;
  if (!failure && std::rename(temporary_.c_str(), path_.c_str()) != 0) failure = errno;
  if (failure) {
    error = Failure("write", failure);
    Abandon();
    return false;
  }
  temporary_.clear();
  io_.reset();
  // The rename itself reaches the disk with the folder; a failure here loses
  // nothing that is not also at risk for every other file.
  const int folder = ::open(folderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

void PendingFile::Abandon() {
  io_.reset();
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    std::remove(temporary_.c_str());
    temporary_.clear();
  }
}
