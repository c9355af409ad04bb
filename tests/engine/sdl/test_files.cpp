// Test helpers: PNG encoding by hand, stored zips, temporary folders, environment.
#include "tests/engine/sdl/test_files.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <atomic>
#include <cstdlib>
#include <fstream>

#include "tools/common/binary_file.h"

namespace {

void put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  put32(out, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> typed(type, type + 4);
  typed.insert(typed.end(), data.begin(), data.end());
  out.insert(out.end(), typed.begin(), typed.end());
  put32(out, Crc32(typed.data(), typed.size()));
}

// zlib stream of stored blocks.
std::vector<uint8_t> zlibStored(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x78, 0x01};
  size_t offset = 0;
  do {
    size_t length = std::min<size_t>(raw.size() - offset, 65535);
    bool last = offset + length == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<uint8_t>(length));
    out.push_back(static_cast<uint8_t>(length >> 8));
    out.push_back(static_cast<uint8_t>(~length));
    out.push_back(static_cast<uint8_t>(~length >> 8));
    out.insert(out.end(), raw.begin() + offset, raw.begin() + offset + length);
    offset += length;
  } while (offset < raw.size());
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  put32(out, (b << 16) | a);
  return out;
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size) { return static_cast<uint32_t>(crc32_z(0L, data, size)); }

std::vector<uint8_t> BuildStoredZip(const std::vector<pack::ZipEntry>& entries) {
  std::vector<uint8_t> archive;
  std::string error;
  if (!pack::BuildZip(entries, archive, error)) {
    ADD_FAILURE() << "zip: " << error;
    return {};
  }
  return archive;
}

std::vector<uint8_t> EncodePng(const TestImage& image) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  put32(header, static_cast<uint32_t>(image.width));
  put32(header, static_cast<uint32_t>(image.height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace
  putChunk(out, "IHDR", header);
  std::vector<uint8_t> raw;
  for (int y = 0; y < image.height; ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < image.width; ++x) {
      uint32_t p = image.at(x, y);
      raw.insert(raw.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
                             static_cast<uint8_t>(p >> 24)});
    }
  }
  putChunk(out, "IDAT", zlibStored(raw));
  putChunk(out, "IEND", {});
  return out;
}

std::vector<uint8_t> BuildPng(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, uint8_t interlace,
                              const std::vector<PngChunk>& chunks) {
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  put32(header, width);
  put32(header, height);
  header.insert(header.end(), {depth, colourType, 0, 0, interlace});
  putChunk(out, "IHDR", header);
  for (const PngChunk& chunk : chunks) putChunk(out, chunk.type.c_str(), chunk.data);
  putChunk(out, "IEND", {});
  return out;
}

std::vector<uint8_t> DeflatedZeros(size_t size) {
  z_stream stream{};
  deflateInit(&stream, Z_BEST_COMPRESSION);
  std::vector<uint8_t> zeros(std::min<size_t>(size, 1 << 20)), out;
  std::vector<uint8_t> buffer(1 << 16);
  for (size_t left = size;;) {
    const size_t piece = std::min(left, zeros.size());
    left -= piece;
    stream.next_in = zeros.data();
    stream.avail_in = static_cast<uInt>(piece);
    do {
      stream.next_out = buffer.data();
      stream.avail_out = static_cast<uInt>(buffer.size());
      deflate(&stream, left == 0 ? Z_FINISH : Z_NO_FLUSH);
      out.insert(out.end(), buffer.data(), buffer.data() + (buffer.size() - stream.avail_out));
    } while (stream.avail_out == 0);
    if (left == 0) break;
  }
  deflateEnd(&stream);
  return out;
}

std::string ActualFramePath(const std::string& name) {
  return std::string(DRIFTGLOW_TEST_OUTPUT_DIR) + "/" + name + "_actual.png";
}

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("driftglow_engine_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

void TempFolder::Write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
  std::filesystem::path file = path_ / relative;
  std::filesystem::create_directories(file.parent_path());
  EXPECT_TRUE(tools::WriteBinaryFile(file.string(), bytes)) << file;
}

void TempFolder::Write(const std::string& relative, const std::string& text) const {
  Write(relative, std::vector<uint8_t>(text.begin(), text.end()));
}

ScopedWorkingFolder::ScopedWorkingFolder(const std::filesystem::path& folder)
    : previous_(std::filesystem::current_path()) {
  std::filesystem::current_path(folder);
}

ScopedWorkingFolder::~ScopedWorkingFolder() {
  std::error_code error;
  std::filesystem::current_path(previous_, error);
}
