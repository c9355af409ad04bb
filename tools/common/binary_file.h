// Whole-file reading and writing for the content tools; no engine here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// Reads a whole file; false when it cannot be opened or read.
bool ReadBinaryFile(const std::string& path, std::vector<uint8_t>& bytes);

// Writes bytes to path through a temporary file renamed into place, so an
// interrupted build never leaves a half-written file under the final name.
// Creates missing parent folders. False on any failure.
bool WriteBinaryFile(const std::string& path, const std::vector<uint8_t>& bytes);
bool WriteTextFile(const std::string& path, const std::string& text);

}  // namespace tools
