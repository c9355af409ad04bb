// Whole-file reading and writing for the content tools.
#include "tools/common/binary_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

#include "tools/common/file_calls.h"
#include "tools/common/pending_file.h"

namespace tools {

bool ReadBinaryFile(const std::string& path, std::vector<uint8_t>& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return false;
  in.seekg(0, std::ios::beg);
  bytes.resize(static_cast<size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) return false;
  return true;
}

namespace {

// Writes every byte, flushes and closes, checking each step: a full device
// shows up at any of them. 0 on success, else the errno of the first failure.
int writeThrough(const std::string& path, const std::vector<uint8_t>& bytes) {
  auto reason = [] { return errno ? errno : EIO; };
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return reason();
  int failure = 0;
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) failure = reason();
  if (std::fflush(file) != 0 && !failure) failure = reason();
  if (std::fclose(file) != 0 && !failure) failure = reason();
  return failure;
}

}  // namespace

bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  // A device, pipe or link (/dev/full, /dev/stdout) is written through as it
  // is: there is no file of its own to replace.
  if (file_calls::IsSpecialFile(path)) {
    const int failure = writeThrough(path, bytes);
    if (failure) error = "can't write '" + path + "': " + std::strerror(failure);
    return failure == 0;
  }
  PendingFile file;
  if (!file.Create(path, error)) return false;
  if (!file.Write(bytes.data(), bytes.size())) {
    error = "can't write '" + path + "': " + file.WriteFailure();
    return false;
  }
  return file.Commit(error);
}

bool WriteTextFile(const std::string& path, const std::string& text, std::string& error) {
  return WriteBinaryFile(path, std::vector<uint8_t>(text.begin(), text.end()), error);
}

bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string error;
  return WriteBinaryFile(path, bytes, error);
}

bool WriteTextFile(const std::string& path, const std::string& text) {
  std::string error;
  return WriteTextFile(path, text, error);
}

}  // namespace tools
