// The few operating-system file calls an output file needs, one file per
// system behind them (file_calls_posix.cpp, file_calls_win32.cpp). Failures
// return -1 (or false) with errno set, as the POSIX calls do.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace file_calls {

// Ends a write past the process's file size limit with an error (EFBIG)
// instead of a signal that would end the process and leave files behind.
void KeepFileSizeLimitAnError();
int ProcessId();
// Creates path for writing; fails with EEXIST when anything, a link
// included, already stands under the name, and never writes through a link.
int CreateExclusive(const std::string& path);
// As write(2): bytes written, or -1.
int64_t WriteSome(int fd, const void* data, size_t size);
int64_t Seek(int fd, int64_t offset, int whence);
int64_t Size(int fd);
// Flushes the file to the disk; 0 or -1.
int Sync(int fd);
int Close(int fd);
// Puts from under the name to, replacing a file there; 0 or -1.
int Replace(const std::string& from, const std::string& to);
// Makes a finished rename in folder durable; best effort.
void SyncFolder(const std::string& folder);
void Remove(const std::string& path);
bool IsFolder(const std::string& path);
// A device, pipe or symbolic link stands under path: something to write
// through as it is rather than replace.
bool IsSpecialFile(const std::string& path);

}  // namespace file_calls
