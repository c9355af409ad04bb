// PhysFS keeps one search path per process, so each ResourcePacks object
// unmounts only what it mounted and leaves PhysFS running while others use it.
#include "engine/sdl/resource_packs.h"
#include "engine/sdl/resource_files.h"

#include <fcntl.h>
#include <physfs.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>

namespace {

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

}  // namespace

bool LoadFromMountedPacks(const std::string& name, std::vector<uint8_t>& bytes) {
  if (!PHYSFS_isInit() || name.empty()) return false;
  PhysfsFile file(PHYSFS_openRead(name.c_str()));
  if (!file) return false;
  PHYSFS_sint64 length = PHYSFS_fileLength(file.get());
  if (length < 0 || !ResizeForResource(bytes, static_cast<uint64_t>(length))) return false;
  return PHYSFS_readBytes(file.get(), bytes.data(), bytes.size()) == length;
}

namespace {

struct OpenFile {
  int fd = -1;
  OpenFile() = default;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile() {
    if (fd >= 0) ::close(fd);
  }
};

}  // namespace

bool LoadFileFromDisk(const std::string& name, std::vector<uint8_t>& bytes, std::string& reason) {
  if (name.empty()) {
    reason = ResourcePacks::ReasonFor(ENOENT);
    return false;
  }
  // Looked at before opening: opening a device can have effects of its own.
  // O_NONBLOCK: a FIFO put in place meanwhile is refused, not waited on.
  struct stat status {};
  OpenFile file;
  if (::stat(name.c_str(), &status) != 0 ||
      (S_ISREG(status.st_mode) && (file.fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)) < 0)) {
    reason = ResourcePacks::ReasonFor(errno);
    return false;
  }
  const int fd = file.fd;
  if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    reason = "not a regular file";
    return false;
  }
  if (!ResizeForResource(bytes, static_cast<uint64_t>(status.st_size))) {
    reason = "larger than " + std::to_string(kMaxResourceBytes >> 20) + " MiB";
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      reason = got < 0 ? ResourcePacks::ReasonFor(errno) : "the file got shorter while it was read";
      return false;
    }
    done += static_cast<size_t>(got);
  }
  return true;
}

bool ResourcePacks::Attach(const char* fileName, std::string* error) {
  std::string path = NormaliseName(fileName);
  if (!PackFileExists(path, error)) return false;
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

void ResourcePacks::DetachAll() {
  if (mounted_.empty()) return;
  if (PHYSFS_isInit()) {
    for (const std::string& path : mounted_) PHYSFS_unmount(path.c_str());
    if (searchPathEmpty()) PHYSFS_deinit();
  }
  mounted_.clear();
}
