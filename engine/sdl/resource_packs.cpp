// PhysFS keeps one search path per process, so each ResourcePacks object
// unmounts only what it mounted and leaves PhysFS running while others use it.
#include "engine/sdl/resource_packs.h"

#include <physfs.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>

namespace {

// Larger files are refused rather than risking an allocation failure (a
// damaged pack can claim any size for an entry).
constexpr uint64_t kMaxResourceBytes = 256ull << 20;

struct PhysfsCloser {
  void operator()(PHYSFS_File* file) const { PHYSFS_close(file); }
};
using PhysfsFile = std::unique_ptr<PHYSFS_File, PhysfsCloser>;

std::string physfsError() { return PHYSFS_getErrorByCode(PHYSFS_getLastErrorCode()); }

bool searchPathEmpty() {
  char** list = PHYSFS_getSearchPath();
  if (!list) return false;
  bool empty = list[0] == nullptr;
  PHYSFS_freeList(list);
  return empty;
}

bool resize(std::vector<uint8_t>& bytes, uint64_t size) {
  if (size > kMaxResourceBytes) return false;
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool loadFromPacks(const std::string& name, std::vector<uint8_t>& bytes) {
  if (!PHYSFS_isInit() || name.empty()) return false;
  PhysfsFile file(PHYSFS_openRead(name.c_str()));
  if (!file) return false;
  PHYSFS_sint64 length = PHYSFS_fileLength(file.get());
  if (length < 0 || !resize(bytes, static_cast<uint64_t>(length))) return false;
  return PHYSFS_readBytes(file.get(), bytes.data(), bytes.size()) == length;
}

bool loadFromDisk(const std::string& name, std::vector<uint8_t>& bytes) {
  std::error_code error;
  std::filesystem::path path(name);
  if (name.empty() || !std::filesystem::is_regular_file(path, error)) return false;
  uint64_t length = std::filesystem::file_size(path, error);
  if (error || !resize(bytes, length)) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<uint64_t>(file.gcount()) == length;
}

}  // namespace

std::string ResourcePacks::NormaliseName(const char* name) {
  std::string text = name ? name : "";
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}

bool ResourcePacks::Attach(const char* fileName, std::string* error) {
  std::string path = NormaliseName(fileName);
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
    if (error) *error = "pack \"" + path + "\" not found";
    return false;
  }
  if (std::find(mounted_.begin(), mounted_.end(), path) != mounted_.end()) return true;
  if (!PHYSFS_isInit() && !PHYSFS_init(nullptr)) {
    if (error) *error = "PhysFS: " + physfsError();
    return false;
  }
  // Prepended: the newest pack is searched first.
  if (!PHYSFS_mount(path.c_str(), nullptr, 0)) {
    if (error) *error = "pack \"" + path + "\": " + physfsError();
    if (mounted_.empty() && searchPathEmpty()) PHYSFS_deinit();
    return false;
  }
  mounted_.push_back(path);
  return true;
}

bool ResourcePacks::Load(const char* name, std::vector<uint8_t>& bytes) const {
  std::string path = NormaliseName(name);
  if (!mounted_.empty() && loadFromPacks(path, bytes)) return true;
  bytes.clear();
  if (loadFromDisk(path, bytes)) return true;
  bytes.clear();
  return false;
}

void ResourcePacks::DetachAll() {
  if (mounted_.empty()) return;
  if (PHYSFS_isInit()) {
    for (const std::string& path : mounted_) PHYSFS_unmount(path.c_str());
    if (searchPathEmpty()) PHYSFS_deinit();
  }
  mounted_.clear();
}
