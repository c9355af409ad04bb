// Zip writing: local file headers, stored data, central directory and the
// end record, all little-endian, with CRC-32 from zlib.
#include "tools/pack/zip_writer.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "tools/common/binary_file.h"

namespace pack {
namespace {

// 1980-01-01 00:00, the earliest time a zip header can hold.
constexpr uint16_t kDosTime = 0;
constexpr uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;
constexpr uint16_t kVersionStored = 10;  // version 1.0 is enough for stored entries
constexpr uint64_t kLimit32 = 0xFFFFFFFFull;

void Put16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

bool ValidName(const std::string& name) {
  if (name.empty() || name.size() > 0xFFFF || name.front() == '/' || name.back() == '/') return false;
  if (name.find('\\') != std::string::npos) return false;
  for (size_t start = 0; start <= name.size();) {
    const size_t end = std::min(name.find('/', start), name.size());
    const std::string part = name.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

bool BuildZip(const std::vector<ZipEntry>& entries, std::vector<uint8_t>& archive, std::string& error) {
  if (entries.size() > 0xFFFF) {
    error = "too many entries";
    return false;
  }
  std::set<std::string> seen;
  for (const ZipEntry& entry : entries) {
    if (!ValidName(entry.name)) {
      error = "bad entry name \"" + entry.name + "\"";
      return false;
    }
    if (!seen.insert(entry.name).second) {
      error = "duplicate entry name \"" + entry.name + "\"";
      return false;
    }
    if (entry.data.size() > kLimit32) {
      error = "entry too large: " + entry.name;
      return false;
    }
  }
  archive.clear();
  std::vector<uint8_t> directory;
  for (const ZipEntry& entry : entries) {
    const uint64_t offset = archive.size();
    if (offset > kLimit32) {
      error = "archive too large";
      return false;
    }
    const uint32_t crc = static_cast<uint32_t>(crc32_z(0L, entry.data.data(), entry.data.size()));
    const auto size = static_cast<uint32_t>(entry.data.size());
    const auto nameLength = static_cast<uint32_t>(entry.name.size());

    Put32(archive, 0x04034B50);
    Put16(archive, kVersionStored);
    Put16(archive, 0);  // flags
    Put16(archive, 0);  // method: stored
    Put16(archive, kDosTime);
    Put16(archive, kDosDate);
    Put32(archive, crc);
    Put32(archive, size);
    Put32(archive, size);
    Put16(archive, nameLength);
    Put16(archive, 0);  // extra field length
    archive.insert(archive.end(), entry.name.begin(), entry.name.end());
    archive.insert(archive.end(), entry.data.begin(), entry.data.end());

    Put32(directory, 0x02014B50);
    Put16(directory, kVersionStored);  // made by: MS-DOS attributes, version 1.0
    Put16(directory, kVersionStored);
    Put16(directory, 0);
    Put16(directory, 0);
    Put16(directory, kDosTime);
    Put16(directory, kDosDate);
    Put32(directory, crc);
    Put32(directory, size);
    Put32(directory, size);
    Put16(directory, nameLength);
    Put16(directory, 0);  // extra
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk number
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, static_cast<uint32_t>(offset));
    directory.insert(directory.end(), entry.name.begin(), entry.name.end());
  }
  const uint64_t directoryOffset = archive.size();
  if (directoryOffset + directory.size() > kLimit32) {
    error = "archive too large";
    return false;
  }
  archive.insert(archive.end(), directory.begin(), directory.end());
  Put32(archive, 0x06054B50);
  Put16(archive, 0);
  Put16(archive, 0);
  Put16(archive, static_cast<uint32_t>(entries.size()));
  Put16(archive, static_cast<uint32_t>(entries.size()));
  Put32(archive, static_cast<uint32_t>(directory.size()));
  Put32(archive, static_cast<uint32_t>(directoryOffset));
  Put16(archive, 0);  // comment length
  return true;
}

bool CollectFolder(const std::string& folder, std::vector<ZipEntry>& entries, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code code;
  const fs::path root(folder);
  if (!fs::is_directory(root, code)) {
    error = "not a folder: " + folder;
    return false;
  }
  entries.clear();
  for (fs::recursive_directory_iterator it(root, code), end; !code && it != end; it.increment(code)) {
    if (!it->is_regular_file(code)) continue;
    ZipEntry entry;
    entry.name = it->path().lexically_relative(root).generic_string();
    if (!tools::ReadBinaryFile(it->path().string(), entry.data)) {
      error = "cannot read " + it->path().string();
      return false;
    }
    entries.push_back(std::move(entry));
  }
  if (code) {
    error = "cannot list " + folder + ": " + code.message();
    return false;
  }
  std::sort(entries.begin(), entries.end(), [](const ZipEntry& a, const ZipEntry& b) { return a.name < b.name; });
  return true;
}

}  // namespace pack
