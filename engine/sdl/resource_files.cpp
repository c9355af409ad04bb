// Resource reading that does not depend on how the packs are read.
#include "engine/sdl/resource_files.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

#include "engine/sdl/resource_packs.h"

bool ResizeForResource(std::vector<uint8_t>& bytes, uint64_t size) {
  if (size > kMaxResourceBytes) return false;
  try {
    bytes.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool PackFileExists(const std::string& path, std::string* error) {
  std::error_code code;
  if (!path.empty() && std::filesystem::is_regular_file(path, code)) return true;
  if (error) *error = "pack \"" + path + "\" not found";
  return false;
}

std::string ResourcePacks::NormaliseName(const char* name) {
  std::string text = name ? name : "";
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}

bool ResourcePacks::Load(const char* name, std::vector<uint8_t>& bytes, std::string* reason) const {
  std::string path = NormaliseName(name);
  if (!mounted_.empty() && LoadFromMountedPacks(path, bytes)) return true;
  bytes.clear();
  std::string why;
  if (LoadFileFromDisk(path, bytes, why)) return true;
  bytes.clear();
  if (reason) *reason = why;
  return false;
}
