// Resource lookup for builds without PhysFS: the packs' zip directories are
// read here (stored and deflated entries, inflated with zlib). As with
// PhysFS, the mounted packs are one list per process, newest first, and each
// ResourcePacks object unmounts only what it mounted.
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <new>

#include "engine/sdl/resource_files.h"
#include "engine/sdl/resource_packs.h"

namespace {

constexpr uint32_t kEndOfDirectory = 0x06054b50;
constexpr uint32_t kDirectoryEntry = 0x02014b50;
constexpr uint32_t kLocalHeader = 0x04034b50;
constexpr size_t kEndRecordBytes = 22;
constexpr size_t kDirectoryEntryBytes = 46;
constexpr size_t kLocalHeaderBytes = 30;
constexpr size_t kLongestComment = 0xFFFF;
constexpr uint16_t kStored = 0;
constexpr uint16_t kDeflated = 8;

struct Entry {
  uint16_t method = 0;
  uint64_t packedBytes = 0;
  uint64_t bytes = 0;
  uint64_t localHeader = 0;
};

struct Pack {
  std::string path;
  std::map<std::string, Entry> entries;
};

// The process's mounted packs, newest first, and the lock that guards them.
std::mutex packsLock;
std::vector<Pack>& mountedPacks() {
  static std::vector<Pack> packs;
  return packs;
}

uint16_t get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t get32(const uint8_t* p) { return get16(p) | static_cast<uint32_t>(get16(p + 2)) << 16; }

bool readAt(std::ifstream& file, uint64_t offset, uint8_t* into, size_t count) {
  file.clear();
  file.seekg(static_cast<std::streamoff>(offset));
  file.read(reinterpret_cast<char*>(into), static_cast<std::streamsize>(count));
  return file && static_cast<size_t>(file.gcount()) == count;
}

// Reads the central directory into pack.entries; false with a reason when
// the file is not a zip archive this reader understands.
bool readDirectory(const std::string& path, Pack& pack, std::string& reason) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  std::error_code code;
  const uint64_t fileBytes = std::filesystem::file_size(path, code);
  if (!file || code) {
    reason = "cannot be read";
    return false;
  }
  // The end record sits in the last 22 bytes plus at most a comment.
  const uint64_t tailBytes = std::min<uint64_t>(fileBytes, kEndRecordBytes + kLongestComment);
  std::vector<uint8_t> tail(static_cast<size_t>(tailBytes));
  if (tailBytes < kEndRecordBytes || !readAt(file, fileBytes - tailBytes, tail.data(), tail.size())) {
    reason = "not a zip archive";
    return false;
  }
  size_t end = tail.size() - kEndRecordBytes + 1;
  do {
    --end;
  } while (end > 0 && get32(&tail[end]) != kEndOfDirectory);
  if (get32(&tail[end]) != kEndOfDirectory) {
    reason = "not a zip archive";
    return false;
  }
  const uint16_t count = get16(&tail[end + 10]);
  const uint64_t directoryBytes = get32(&tail[end + 12]);
  const uint64_t directoryStart = get32(&tail[end + 16]);
  std::vector<uint8_t> directory;
  if (directoryStart + directoryBytes > fileBytes || !ResizeForResource(directory, directoryBytes) ||
      !readAt(file, directoryStart, directory.data(), directory.size())) {
    reason = "damaged zip directory";
    return false;
  }
  size_t at = 0;
  for (uint16_t i = 0; i < count; ++i) {
    if (at + kDirectoryEntryBytes > directory.size() || get32(&directory[at]) != kDirectoryEntry) {
      reason = "damaged zip directory";
      return false;
    }
    const uint8_t* record = &directory[at];
    Entry entry;
    entry.method = get16(record + 10);
    entry.packedBytes = get32(record + 20);
    entry.bytes = get32(record + 24);
    const size_t nameBytes = get16(record + 28);
    const size_t skipped = static_cast<size_t>(get16(record + 30)) + get16(record + 32);
    entry.localHeader = get32(record + 42);
    if (at + kDirectoryEntryBytes + nameBytes + skipped > directory.size()) {
      reason = "damaged zip directory";
      return false;
    }
    std::string name(reinterpret_cast<const char*>(record + kDirectoryEntryBytes), nameBytes);
    at += kDirectoryEntryBytes + nameBytes + skipped;
    // Folders are listed with a trailing "/" and hold no bytes.
    if (name.empty() || name.back() == '/') continue;
    pack.entries.emplace(std::move(name), entry);
  }
  return true;
}

bool inflateInto(const std::vector<uint8_t>& packed, std::vector<uint8_t>& bytes) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  stream.next_in = const_cast<Bytef*>(packed.data());
  stream.avail_in = static_cast<uInt>(packed.size());
  stream.next_out = bytes.data();
  stream.avail_out = static_cast<uInt>(bytes.size());
  const int result = inflate(&stream, Z_FINISH);
  const bool complete = result == Z_STREAM_END && stream.total_out == bytes.size();
  inflateEnd(&stream);
  return complete;
}

bool loadEntry(const Pack& pack, const Entry& entry, std::vector<uint8_t>& bytes) {
  if (entry.method != kStored && entry.method != kDeflated) return false;
  std::ifstream file(std::filesystem::path(pack.path), std::ios::binary);
  uint8_t header[kLocalHeaderBytes];
  if (!file || !readAt(file, entry.localHeader, header, sizeof header) || get32(header) != kLocalHeader) return false;
  const uint64_t dataStart = entry.localHeader + kLocalHeaderBytes + get16(header + 26) + get16(header + 28);
  std::vector<uint8_t> packed;
  if (!ResizeForResource(packed, entry.packedBytes) || !readAt(file, dataStart, packed.data(), packed.size()))
    return false;
  if (entry.method == kStored) {
    if (entry.packedBytes != entry.bytes) return false;
    bytes = std::move(packed);
    return true;
  }
  return ResizeForResource(bytes, entry.bytes) && inflateInto(packed, bytes);
}

}  // namespace

bool LoadFromMountedPacks(const std::string& name, std::vector<uint8_t>& bytes) {
  std::lock_guard<std::mutex> hold(packsLock);
  for (const Pack& pack : mountedPacks()) {
    auto found = pack.entries.find(name);
    if (found != pack.entries.end()) return loadEntry(pack, found->second, bytes);
  }
  return false;
}

bool LoadFileFromDisk(const std::string& name, std::vector<uint8_t>& bytes, std::string& reason) {
  std::error_code error;
  std::filesystem::path path(name);
  const auto status = std::filesystem::status(path, error);
  if (name.empty() || !std::filesystem::exists(status)) {
    reason = ResourcePacks::ReasonFor(ENOENT);
    return false;
  }
  if (!std::filesystem::is_regular_file(status)) {
    reason = "not a regular file";
    return false;
  }
  uint64_t length = std::filesystem::file_size(path, error);
  if (error || !ResizeForResource(bytes, length)) {
    reason = error ? ResourcePacks::ReasonFor(error.value()) : "too large to read";
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    reason = ResourcePacks::ReasonFor(EACCES);
    return false;
  }
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (static_cast<uint64_t>(file.gcount()) == length) return true;
  reason = "the file got shorter while it was read";
  return false;
}

bool ResourcePacks::Attach(const char* fileName, std::string* error) {
  std::string path = NormaliseName(fileName);
  if (!PackFileExists(path, error)) return false;
  if (std::find(mounted_.begin(), mounted_.end(), path) != mounted_.end()) return true;
  Pack pack;
  pack.path = path;
  std::string reason;
  if (!readDirectory(path, pack, reason)) {
    if (error) *error = "pack \"" + path + "\": " + reason;
    return false;
  }
  {
    std::lock_guard<std::mutex> hold(packsLock);
    std::vector<Pack>& packs = mountedPacks();
    auto same = std::find_if(packs.begin(), packs.end(), [&](const Pack& p) { return p.path == path; });
    if (same == packs.end()) packs.insert(packs.begin(), std::move(pack));
  }
  mounted_.push_back(path);
  return true;
}

void ResourcePacks::DetachAll() {
  if (mounted_.empty()) return;
  std::lock_guard<std::mutex> hold(packsLock);
  std::vector<Pack>& packs = mountedPacks();
  for (const std::string& path : mounted_)
    packs.erase(std::remove_if(packs.begin(), packs.end(), [&](const Pack& p) { return p.path == path; }), packs.end());
  mounted_.clear();
}
