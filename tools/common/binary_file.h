// Whole-file reading and writing for the content tools; no engine here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// Reads a whole file; false when it cannot be opened or read.
bool ReadBinaryFile(const std::string& path, std::vector<uint8_t>& bytes);

// Writes bytes to path through a temporary file renamed into place, so an
// interrupted build or a full disk never leaves a half-written file under the
// final name (the temporary one is removed). Every byte, the flush and the
// close are checked. Creates missing parent folders. A path naming a device,
// pipe or symbolic link is written through directly. False on any failure.
bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace tools
