// Whole-file reading and writing for the content tools.
#include "tools/common/binary_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

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

// Writes every byte, flushes and closes, checking each step: a full disk
// shows up at any of them.
bool writeAll(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (!file) return false;
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool flushed = std::fflush(file) == 0;
  const bool closed = std::fclose(file) == 0;
  return written && flushed && closed;
}

}  // namespace

bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path target(path);
  // A device, pipe or link (/dev/full, /dev/stdout) is written through as it
  // is: there is no file of its own to replace.
  const fs::file_status status = fs::symlink_status(target, error);
  if (fs::exists(status) && !fs::is_regular_file(status)) return writeAll(target, bytes);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
  const fs::path temporary = target.string() + ".part";
  if (!writeAll(temporary, bytes)) {
    fs::remove(temporary, error);
    return false;
  }
  fs::rename(temporary, target, error);
  if (error) {
    fs::remove(temporary, error);
    return false;
  }
  return true;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
  return WriteBinaryFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace tools
