// Stored (method 0) zip archives, little-endian fields as the format lays them out.
#include "tools/tonepack/stored_zip.h"

#include <fstream>

namespace {

constexpr uint64_t kMaxField = 0xFFFFFFFFull;

void put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

// The fields shared by the local header and the central directory record.
void putCommon(std::vector<uint8_t>& out, const ZipEntry& entry, uint32_t crc) {
  put16(out, 10);      // version needed: 1.0, stored
  put16(out, 0);       // flags
  put16(out, 0);       // method: stored
  put16(out, 0);       // modification time
  put16(out, 0x21);    // modification date: 1980-01-01
  put32(out, crc);
  put32(out, static_cast<uint32_t>(entry.bytes.size()));  // compressed size
  put32(out, static_cast<uint32_t>(entry.bytes.size()));  // uncompressed size
  put16(out, static_cast<uint32_t>(entry.name.size()));
  put16(out, 0);  // extra field length
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

std::vector<uint8_t> BuildStoredZip(const std::vector<ZipEntry>& entries) {
  if (entries.size() > 0xFFFF) return {};
  std::vector<uint8_t> out;
  std::vector<uint32_t> offsets;
  std::vector<uint32_t> crcs;
  for (const ZipEntry& entry : entries) {
    if (entry.name.empty() || entry.name.size() > 0xFFFF || entry.bytes.size() > kMaxField) return {};
    if (out.size() > kMaxField) return {};
    offsets.push_back(static_cast<uint32_t>(out.size()));
    crcs.push_back(Crc32(entry.bytes.data(), entry.bytes.size()));
    put32(out, 0x04034B50);
    putCommon(out, entry, crcs.back());
    out.insert(out.end(), entry.name.begin(), entry.name.end());
    out.insert(out.end(), entry.bytes.begin(), entry.bytes.end());
  }
  if (out.size() > kMaxField) return {};
  const uint32_t directoryStart = static_cast<uint32_t>(out.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    put32(out, 0x02014B50);
    put16(out, 20);  // made by: 2.0
    putCommon(out, entries[i], crcs[i]);
    put16(out, 0);  // comment length
    put16(out, 0);  // disk number
    put16(out, 0);  // internal attributes
    put32(out, 0);  // external attributes
    put32(out, offsets[i]);
    out.insert(out.end(), entries[i].name.begin(), entries[i].name.end());
  }
  if (out.size() > kMaxField) return {};
  const uint32_t directorySize = static_cast<uint32_t>(out.size()) - directoryStart;
  put32(out, 0x06054B50);
  put16(out, 0);  // this disk
  put16(out, 0);  // disk with the directory
  put16(out, static_cast<uint32_t>(entries.size()));
  put16(out, static_cast<uint32_t>(entries.size()));
  put32(out, directorySize);
  put32(out, directoryStart);
  put16(out, 0);  // comment length
  return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file.flush());
}
