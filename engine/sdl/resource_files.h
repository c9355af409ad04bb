// What both pack readers share: the size limit of one resource, the
// missing-pack message and the lookup order of ResourcePacks::Load. Each
// reader defines LoadFromMountedPacks and LoadFileFromDisk its own way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Larger files are refused rather than risking an allocation failure (a
// damaged pack can claim any size for an entry).
constexpr uint64_t kMaxResourceBytes = 256ull << 20;

// Makes room for `size` bytes; false (bytes untouched) above the limit or
// when memory runs out.
bool ResizeForResource(std::vector<uint8_t>& bytes, uint64_t size);
// The whole file at `name` (relative to the working folder); false with a
// short reason (as ResourcePacks::ReasonFor gives) when it is missing, not a
// regular file, too large or cannot be read. Each reader defines it.
bool LoadFileFromDisk(const std::string& name, std::vector<uint8_t>& bytes, std::string& reason);
// False with "pack "NAME" not found" in *error when `path` is no file.
bool PackFileExists(const std::string& path, std::string* error);
// The named entry from the newest mounted pack that holds it; false when
// none does or it cannot be read.
bool LoadFromMountedPacks(const std::string& name, std::vector<uint8_t>& bytes);
