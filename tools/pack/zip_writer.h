// A minimal zip archive writer for the resource packs: stored (uncompressed)
// entries only, so a reader can seek inside a packed file cheaply.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pack {

struct ZipEntry {
  std::string name;  // forward slashes, no leading slash, e.g. "sound/Mercury.mp3"
  std::vector<uint8_t> data;
};

// Builds the archive bytes: one local header and stored data per entry, then
// the central directory. Every entry carries the same fixed timestamp, so
// equal inputs give equal archives. False (with a reason) for an empty or
// over-long name, duplicate names, more than 65535 entries or anything that
// would need the 64-bit zip extensions.
bool BuildZip(const std::vector<ZipEntry>& entries, std::vector<uint8_t>& archive, std::string& error);

// Collects every regular file below folder, named relative to it with
// forward slashes, sorted by name. False when the folder cannot be read.
bool CollectFolder(const std::string& folder, std::vector<ZipEntry>& entries, std::string& error);

}  // namespace pack
