// PNG encoding and decoding over zlib: chunks with CRCs, per-row filters
// chosen by the usual smallest-sum heuristic, one zlib stream for the pixels.
#include "tools/common/png_file.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <cstring>

#include "tools/common/binary_file.h"

namespace tools {
namespace {

constexpr std::array<uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Decoded images larger than this are refused rather than allocated.
constexpr uint64_t kMaxDecodedBytes = 1ull << 28;

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value >> 24));
  out.push_back(static_cast<uint8_t>(value >> 16));
  out.push_back(static_cast<uint8_t>(value >> 8));
  out.push_back(static_cast<uint8_t>(value));
}

uint32_t GetU32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
  PutU32(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
  PutU32(out, static_cast<uint32_t>(crc));
}

uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  if (pb <= pc) return static_cast<uint8_t>(b);
  return static_cast<uint8_t>(c);
}

// The value filter type predicts for a byte from its left (a), upper (b) and
// upper-left (c) neighbours.
int Predict(int type, int a, int b, int c) {
  switch (type) {
    case 1: return a;
    case 2: return b;
    case 3: return (a + b) / 2;
    case 4: return Paeth(a, b, c);
    default: return 0;
  }
}

// Applies filter type to one row; prior is the unfiltered previous row (zeros for the first).
void FilterRow(int type, const uint8_t* row, const uint8_t* prior, size_t length, int bpp, uint8_t* out) {
  for (size_t i = 0; i < length; ++i) {
    const int a = i >= static_cast<size_t>(bpp) ? row[i - bpp] : 0;
    const int c = i >= static_cast<size_t>(bpp) ? prior[i - bpp] : 0;
    out[i] = static_cast<uint8_t>(row[i] - Predict(type, a, prior[i], c));
  }
}

// Reverses filter type in place; false for an unknown filter type.
bool UnfilterRow(int type, uint8_t* row, const uint8_t* prior, size_t length, int bpp) {
  if (type < 0 || type > 4) return false;
  for (size_t i = 0; i < length; ++i) {
    const int a = i >= static_cast<size_t>(bpp) ? row[i - bpp] : 0;
    const int c = i >= static_cast<size_t>(bpp) ? prior[i - bpp] : 0;
    row[i] = static_cast<uint8_t>(row[i] + Predict(type, a, prior[i], c));
  }
  return true;
}

}  // namespace

namespace {

// Encodes rows of channels bytes per pixel (3: RGB, 4: RGBA) with the text
// chunks between the header and the pixels.
std::vector<uint8_t> Encode(const uint8_t* pixels, int width, int height, int channels,
                            const std::vector<PngText>& texts) {
  const size_t stride = static_cast<size_t>(width) * channels;
  std::vector<uint8_t> filtered;
  filtered.reserve((stride + 1) * height);
  std::vector<uint8_t> zeros(stride, 0), candidate(stride), best(stride);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = pixels + y * stride;
    const uint8_t* prior = y > 0 ? row - stride : zeros.data();
    uint64_t bestCost = UINT64_MAX;
    int bestType = 0;
    for (int type = 0; type <= 4; ++type) {
      FilterRow(type, row, prior, stride, channels, candidate.data());
      uint64_t cost = 0;
      for (uint8_t v : candidate) cost += v < 128 ? v : 256 - v;
      if (cost < bestCost) {
        bestCost = cost;
        bestType = type;
        best.swap(candidate);
      }
    }
    filtered.push_back(static_cast<uint8_t>(bestType));
    filtered.insert(filtered.end(), best.begin(), best.end());
  }

  uLongf compressedSize = compressBound(static_cast<uLong>(filtered.size()));
  std::vector<uint8_t> compressed(compressedSize);
  compress2(compressed.data(), &compressedSize, filtered.data(), static_cast<uLong>(filtered.size()), 9);
  compressed.resize(compressedSize);

  std::vector<uint8_t> header;
  PutU32(header, static_cast<uint32_t>(width));
  PutU32(header, static_cast<uint32_t>(height));
  // 8 bits, RGB or RGBA, deflate, adaptive filters, no interlace.
  header.insert(header.end(), {8, static_cast<uint8_t>(channels == 3 ? 2 : 6), 0, 0, 0});

  std::vector<uint8_t> out(kSignature.begin(), kSignature.end());
  PutChunk(out, "IHDR", header);
  for (const PngText& text : texts) {
    std::vector<uint8_t> data(text.keyword.begin(), text.keyword.end());
    data.push_back(0);
    data.insert(data.end(), text.text.begin(), text.text.end());
    PutChunk(out, "tEXt", data);
  }
  PutChunk(out, "IDAT", compressed);
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(const RgbaImage& image) {
  return Encode(image.pixels.data(), image.width, image.height, 4, {});
}

std::vector<uint8_t> EncodeRgbPng(const RgbaImage& image, const std::vector<PngText>& texts) {
  std::vector<uint8_t> rgb;
  rgb.reserve(static_cast<size_t>(image.width) * image.height * 3);
  for (size_t i = 0; i + 3 < image.pixels.size(); i += 4) rgb.insert(rgb.end(), &image.pixels[i], &image.pixels[i + 3]);
  return Encode(rgb.data(), image.width, image.height, 3, texts);
}

bool DecodePng(const std::vector<uint8_t>& bytes, RgbaImage& image, std::string& error) {
  if (bytes.size() < kSignature.size() || std::memcmp(bytes.data(), kSignature.data(), kSignature.size()) != 0) {
    error = "not a PNG file";
    return false;
  }
  uint32_t width = 0, height = 0;
  int colourType = -1;
  std::vector<uint8_t> idat, palette, paletteAlpha;
  bool ended = false;
  size_t at = kSignature.size();
  while (!ended) {
    if (bytes.size() - at < 12) {
      error = "truncated chunk";
      return false;
    }
    const uint32_t length = GetU32(&bytes[at]);
    if (length > bytes.size() - at - 12) {
      error = "chunk longer than the file";
      return false;
    }
    const uint8_t* type = &bytes[at + 4];
    const uint8_t* data = &bytes[at + 8];
    const uint32_t storedCrc = GetU32(data + length);
    if (crc32(0L, type, length + 4) != storedCrc) {
      error = "chunk CRC mismatch";
      return false;
    }
    if (std::memcmp(type, "IHDR", 4) == 0) {
      if (length != 13) {
        error = "bad IHDR";
        return false;
      }
      width = GetU32(data);
      height = GetU32(data + 4);
      const int bitDepth = data[8];
      colourType = data[9];
      if (bitDepth != 8 || data[10] != 0 || data[11] != 0 || data[12] != 0) {
        error = "only 8-bit non-interlaced images are supported";
        return false;
      }
      if (colourType != 0 && colourType != 2 && colourType != 3 && colourType != 4 && colourType != 6) {
        error = "bad colour type";
        return false;
      }
      if (width == 0 || height == 0 || uint64_t{width} * height * 4 > kMaxDecodedBytes) {
        error = "bad image size";
        return false;
      }
    } else if (std::memcmp(type, "PLTE", 4) == 0) {
      palette.assign(data, data + length);
    } else if (std::memcmp(type, "tRNS", 4) == 0) {
      paletteAlpha.assign(data, data + length);
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      idat.insert(idat.end(), data, data + length);
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      ended = true;
    }
    at += 12 + static_cast<size_t>(length);
  }
  if (colourType < 0) {
    error = "missing IHDR";
    return false;
  }
  static constexpr int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
  const int bpp = kChannels[colourType];
  const size_t stride = static_cast<size_t>(width) * bpp;
  std::vector<uint8_t> raw((stride + 1) * height);
  uLongf rawSize = static_cast<uLongf>(raw.size());
  if (uncompress(raw.data(), &rawSize, idat.data(), static_cast<uLong>(idat.size())) != Z_OK || rawSize != raw.size()) {
    error = "bad or short pixel data";
    return false;
  }
  std::vector<uint8_t> zeros(stride, 0);
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* line = &raw[y * (stride + 1)];
    const uint8_t* prior = y > 0 ? line - stride : zeros.data();
    if (!UnfilterRow(line[0], line + 1, prior, stride, bpp)) {
      error = "bad filter type";
      return false;
    }
  }
  image = RgbaImage(static_cast<int>(width), static_cast<int>(height));
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* line = &raw[y * (stride + 1) + 1];
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* s = line + static_cast<size_t>(x) * bpp;
      uint8_t* d = image.At(static_cast<int>(x), static_cast<int>(y));
      switch (colourType) {
        case 0:
          d[0] = d[1] = d[2] = s[0];
          d[3] = 255;
          break;
        case 2:
          d[0] = s[0];
          d[1] = s[1];
          d[2] = s[2];
          d[3] = 255;
          break;
        case 3: {
          const size_t index = s[0];
          if (index * 3 + 2 >= palette.size()) {
            error = "palette index out of range";
            return false;
          }
          d[0] = palette[index * 3];
          d[1] = palette[index * 3 + 1];
          d[2] = palette[index * 3 + 2];
          d[3] = index < paletteAlpha.size() ? paletteAlpha[index] : 255;
          break;
        }
        case 4:
          d[0] = d[1] = d[2] = s[0];
          d[3] = s[1];
          break;
        default: std::memcpy(d, s, 4); break;
      }
    }
  }
  return true;
}

bool WritePngFile(const std::string& path, const RgbaImage& image) { return WriteBinaryFile(path, EncodePng(image)); }

bool WritePngFile(const std::string& path, const RgbaImage& image, std::string& error) {
  return WriteBinaryFile(path, EncodePng(image), error);
}

bool ReadPngFile(const std::string& path, RgbaImage& image, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!ReadBinaryFile(path, bytes)) {
    error = "cannot read " + path;
    return false;
  }
  return DecodePng(bytes, image, error);
}

}  // namespace tools
