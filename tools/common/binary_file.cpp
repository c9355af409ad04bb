// Whole-file reading and writing for the content tools.
#include "tools/common/binary_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

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

bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::path target(path);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), error);
  const fs::path temporary = target.string() + ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    if (!bytes.empty()) out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) return false;
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
