// Helpers for the SDL engine tests, with no SDL in them: uncompressed PNG
// images, stored zip archives, scoped temporary folders and environment
// variables, and the folder where failing pixel tests leave their actual frames.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/pack/zip_writer.h"

struct TestImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;  // row by row
  uint32_t at(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
};

// An 8-bit RGBA PNG with stored (uncompressed) deflate blocks.
std::vector<uint8_t> EncodePng(const TestImage& image);

// A PNG with the given header fields whose chunks between IHDR and IEND are
// these, each given its length and CRC.
struct PngChunk {
  std::string type;
  std::vector<uint8_t> data;
};
std::vector<uint8_t> BuildPng(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, uint8_t interlace,
                              const std::vector<PngChunk>& chunks);

// A zlib stream of `size` zero bytes, compressed as far as zlib goes.
std::vector<uint8_t> DeflatedZeros(size_t size);

// CRC-32 as zip archives and PNG chunks use it.
uint32_t Crc32(const uint8_t* data, size_t size);

// The entries as a stored zip archive, from the resource pack writer. A set
// of entries the writer refuses fails the test and gives no bytes.
std::vector<uint8_t> BuildStoredZip(const std::vector<pack::ZipEntry>& entries);

// Where pixel tests write the frame they saw when it differs from the expected one.
std::string ActualFramePath(const std::string& name);

// A fresh folder under the system's temporary folder, removed on destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::filesystem::path& path() const { return path_; }
  // Writes the bytes to path() / relative, creating folders.
  void Write(const std::string& relative, const std::vector<uint8_t>& bytes) const;
  void Write(const std::string& relative, const std::string& text) const;

 private:
  std::filesystem::path path_;
};

// Makes a folder the working folder until destruction.
class ScopedWorkingFolder {
 public:
  explicit ScopedWorkingFolder(const std::filesystem::path& folder);
  ~ScopedWorkingFolder();

 private:
  std::filesystem::path previous_;
};

// Sets (or with nullopt, removes) an environment variable until destruction.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, std::optional<std::string> value);
  ~ScopedEnvironment();

 private:
  std::string name_;
  std::optional<std::string> previous_;
};
