// A minimal zip archive writer: every entry stored uncompressed, so that
// readers can seek inside the entries cheaply. Needs nothing of the engine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ZipEntry {
  std::string name;  // "/"-separated path inside the archive
  std::vector<uint8_t> bytes;
};

// The archive's bytes (local headers, data, central directory, end record).
// Empty when an entry or the archive would not fit the classic zip limits.
std::vector<uint8_t> BuildStoredZip(const std::vector<ZipEntry>& entries);

// Writes the bytes to a file; false when the file cannot be written.
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);

uint32_t Crc32(const uint8_t* data, size_t size);
