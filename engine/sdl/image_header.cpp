// Header sizes of the image formats the engine recognises, so that a file
// can be named for what it is; only PNG is decoded. GIF is not one of them:
// its decoder takes whichever image it can read, anywhere in the file, so no
// header tells how much it will allocate.
#include "engine/sdl/image_header.h"

#include <algorithm>
#include <cstring>

namespace {

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Has(size_t at, size_t count) const { return at <= size_ && count <= size_ - at; }
  bool Starts(const char* text, size_t at = 0) const {
    const size_t length = std::strlen(text);
    return Has(at, length) && std::memcmp(data_ + at, text, length) == 0;
  }
  uint32_t Byte(size_t at) const { return data_[at]; }
  uint32_t Little16(size_t at) const { return Byte(at) | Byte(at + 1) << 8; }
  uint32_t Little24(size_t at) const { return Little16(at) | Byte(at + 2) << 16; }
  uint32_t Little32(size_t at) const { return Little16(at) | Little16(at + 2) << 16; }
  uint32_t Big16(size_t at) const { return Byte(at) << 8 | Byte(at + 1); }
  uint32_t Big32(size_t at) const { return Big16(at) << 16 | Big16(at + 2); }
  size_t Size() const { return size_; }

 private:
  const uint8_t* data_;
  size_t size_;
};

bool found(int64_t width, int64_t height, ImageSize* result) {
  result->width = width;
  result->height = height;
  return true;
}

// Also checks that every chunk up to IEND lies within the file: the decoder
// does not stop at the end of the data, and a chunk claiming more than is
// there can keep it reading forever.
bool png(const Bytes& b, ImageSize* result) {
  if (!b.Starts("\x89PNG\r\n\x1A\n") || !b.Has(16, 8)) return false;
  size_t at = 8;
  result->complete = false;
  while (b.Has(at, 12)) {
    const uint32_t length = b.Big32(at);
    if (length > 0x7FFFFFFFu || !b.Has(at, 12 + size_t{length})) break;
    if (b.Starts("IEND", at + 4)) {
      result->complete = true;
      break;
    }
    at += 12 + size_t{length};
  }
  return found(b.Big32(16), b.Big32(20), result);
}

bool bmp(const Bytes& b, ImageSize* result) {
  if (!b.Starts("BM") || !b.Has(14, 4)) return false;
  const uint32_t headerSize = b.Little32(14);
  if (headerSize == 12 && b.Has(18, 4)) return found(b.Little16(18), b.Little16(20), result);
  if (headerSize < 16 || !b.Has(18, 8)) return false;
  const auto height = static_cast<int32_t>(b.Little32(22));
  return found(static_cast<int32_t>(b.Little32(18)), height < 0 ? -static_cast<int64_t>(height) : height, result);
}

// The first start-of-frame segment; the markers before it are skipped by
// their lengths.
bool jpeg(const Bytes& b, ImageSize* result) {
  if (!b.Starts("\xFF\xD8\xFF")) return false;
  size_t at = 2;
  while (b.Has(at, 4)) {
    if (b.Byte(at) != 0xFF) return false;
    const uint32_t marker = b.Byte(at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    const bool startOfFrame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (startOfFrame) {
      if (!b.Has(at, 9)) return false;
      return found(b.Big16(at + 7), b.Big16(at + 5), result);
    }
    if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
      at += 2;  // markers without a length
      continue;
    }
    at += 2 + b.Big16(at + 2);
  }
  return false;
}

bool webp(const Bytes& b, ImageSize* result) {
  if (!b.Starts("RIFF") || !b.Starts("WEBP", 8)) return false;
  if (b.Starts("VP8X", 12) && b.Has(24, 6))
    return found(int64_t{b.Little24(24)} + 1, int64_t{b.Little24(27)} + 1, result);
  if (b.Starts("VP8L", 12) && b.Has(21, 4)) {
    const uint32_t bits = b.Little32(21);
    return found((bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1, result);
  }
  if (b.Starts("VP8 ", 12) && b.Has(26, 4)) return found(b.Little16(26) & 0x3FFF, b.Little16(28) & 0x3FFF, result);
  return false;
}

bool qoi(const Bytes& b, ImageSize* result) {
  if (!b.Starts("qoif") || !b.Has(4, 8)) return false;
  return found(b.Big32(4), b.Big32(8), result);
}

// "P1" to "P6": whitespace and comments, then the width and the height as
// decimal numbers.
bool pnm(const Bytes& b, ImageSize* result) {
  if (!b.Has(0, 3) || b.Byte(0) != 'P' || b.Byte(1) < '1' || b.Byte(1) > '6') return false;
  size_t at = 2;
  int64_t numbers[2] = {0, 0};
  for (int64_t& number : numbers) {
    for (;;) {
      if (!b.Has(at, 1)) return false;
      const uint32_t c = b.Byte(at);
      if (c == '#') {
        while (b.Has(at, 1) && b.Byte(at) != '\n' && b.Byte(at) != '\r') ++at;
      } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') {
        ++at;
      } else {
        break;
      }
    }
    if (b.Byte(at) < '0' || b.Byte(at) > '9') return false;
    while (b.Has(at, 1) && b.Byte(at) >= '0' && b.Byte(at) <= '9') {
      number = std::min<int64_t>(number * 10 + (b.Byte(at) - '0'), int64_t{1} << 40);
      ++at;
    }
  }
  return found(numbers[0], numbers[1], result);
}

bool pcx(const Bytes& b, ImageSize* result) {
  if (!b.Has(0, 12) || b.Byte(0) != 0x0A || b.Byte(2) != 1) return false;
  const int64_t width = int64_t{b.Little16(8)} - b.Little16(4) + 1;
  const int64_t height = int64_t{b.Little16(10)} - b.Little16(6) + 1;
  return found(std::max<int64_t>(width, 0), std::max<int64_t>(height, 0), result);
}

}  // namespace

bool ReadImageSize(const uint8_t* bytes, size_t size, ImageSize* result) {
  if (!bytes || !result) return false;
  const Bytes b(bytes, size);
  struct Reader {
    bool (*read)(const Bytes&, ImageSize*);
    const char* format;
  };
  constexpr Reader kReaders[] = {{png, "PNG"}, {bmp, "BMP"}, {jpeg, "JPG"}, {webp, "WEBP"},
                                 {qoi, "QOI"}, {pnm, "PNM"}, {pcx, "PCX"}};
  for (const Reader& reader : kReaders) {
    if (reader.read(b, result)) {
      result->format = reader.format;
      return true;
    }
  }
  return false;
}
