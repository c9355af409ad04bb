// A file written under a temporary name in its final folder and renamed into
// place once complete: a failed or interrupted run leaves nothing under the
// final name and no partial file beside it. POSIX and FFmpeg's I/O layer.
#pragma once

#include <string>

#include "tools/video/ffmpeg_handles.h"

class PendingFile {
 public:
  PendingFile() = default;
  // Removes the temporary file unless it was committed.
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Creates the temporary file beside path. False with a one-line error.
  bool Create(const std::string& path, std::string& error);
  // Writing and seeking into the temporary file for a muxer; every write is
  // checked, and the first failure sticks in the context's error field.
  AVIOContext* Io() const { return io_.get(); }
  const std::string& TemporaryPath() const { return temporary_; }
  // Flushes, syncs to disk and renames the file to its final name. False
  // with a one-line error, the temporary file then removed.
  bool Commit(std::string& error);
  // Removes the temporary file; nothing is left behind.
  void Abandon();
  // The reason for the first failed write, as errno text, or empty.
  std::string WriteFailure() const;

 private:
#if LIBAVFORMAT_VERSION_MAJOR >= 61
  using WriteBuffer = const uint8_t*;
#else
  using WriteBuffer = uint8_t*;
#endif
  static int Write(void* opaque, WriteBuffer data, int size);
  static int64_t Seek(void* opaque, int64_t offset, int whence);
  std::string Failure(const std::string& what, int code) const;

  std::string path_;
  std::string temporary_;
  int fd_ = -1;
  int writeErrno_ = 0;  // errno of the first failed write or seek
  IoContextHandle io_;
};
