// A file written under a temporary name in its final folder and renamed into
// place once complete: a failed or interrupted run leaves nothing under the
// final name and no partial file beside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class PendingFile {
 public:
  PendingFile() = default;
  // Removes the temporary file unless it was committed.
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Creates the temporary file beside path: a name of this process's own,
  // made exclusively and never through a link, with the usual permissions.
  // A missing folder is an error. False with a one-line error.
  bool Create(const std::string& path, std::string& error);
  // Appends bytes at the current position. False once any write has failed;
  // the first failure sticks (WriteFailure).
  bool Write(const void* data, size_t size);
  // Moves the write position as lseek does; -1 on failure, which also sticks.
  int64_t Seek(int64_t offset, int whence);
  // The temporary file's size in bytes; -1 when it can't be read.
  int64_t Size() const;
  const std::string& TemporaryPath() const { return temporary_; }
  // Syncs to disk and renames the file to its final name. False with a
  // one-line error naming the reason, the temporary file then removed.
  bool Commit(std::string& error);
  // Removes the temporary file; nothing is left behind.
  void Abandon();
  // The reason for the first failed write, as errno text, or empty.
  std::string WriteFailure() const;
  // "can't write 'path': reason" for this file and an errno value.
  std::string Failure(int code) const;

  // Removes every temporary file of this process not yet committed or
  // abandoned, and refuses new ones from then on. For a process that is
  // about to end at once; safe from any thread.
  static void RemoveAllUnfinished();

 private:
  std::string path_;
  std::string temporary_;
  int fd_ = -1;
  int writeErrno_ = 0;  // errno of the first failed write or seek
};
