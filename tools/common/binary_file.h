// Whole-file reading and writing for the content tools; no engine here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// Reads a whole file; false when it cannot be opened or read.
bool ReadBinaryFile(const std::string& path, std::vector<uint8_t>& bytes);

// Writes bytes to path through a temporary file renamed into place (see
// PendingFile), so an interrupted build or a full disk never leaves a
// half-written file under the final name and the temporary one is removed.
// The folder must exist. A path naming a device, pipe or symbolic link is
// written through directly, every byte, the flush and the close checked.
// False with a one-line error naming the path and the reason.
bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);
bool WriteTextFile(const std::string& path, const std::string& text, std::string& error);
// The same, for callers that report the failure themselves.
bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace tools
