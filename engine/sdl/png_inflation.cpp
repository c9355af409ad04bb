// Counts what the zlib streams of a PNG inflate to, each up to a limit, by
// inflating into a scratch buffer that is overwritten as it goes.
#include "engine/sdl/png_inflation.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace {

uint32_t big32(const uint8_t* at) {
  return uint32_t{at[0]} << 24 | uint32_t{at[1]} << 16 | uint32_t{at[2]} << 8 | uint32_t{at[3]};
}

// One zlib stream fed in pieces; stops counting at the limit, at its end or
// at damage.
class InflateCounter {
 public:
  explicit InflateCounter(uint64_t limit) : limit_(limit) { ready_ = inflateInit(&stream_) == Z_OK; }
  ~InflateCounter() {
    if (ready_) inflateEnd(&stream_);
  }
  InflateCounter(const InflateCounter&) = delete;
  InflateCounter& operator=(const InflateCounter&) = delete;

  void Feed(const uint8_t* data, size_t size) {
    if (!ready_ || stopped_ || size == 0) return;
    stream_.next_in = const_cast<Bytef*>(data);
    stream_.avail_in = static_cast<uInt>(size);  // chunk lengths fit in 32 bits
    for (;;) {
      uint8_t scratch[16384];
      stream_.next_out = scratch;
      stream_.avail_out = sizeof scratch;
      const int status = inflate(&stream_, Z_NO_FLUSH);
      produced_ += sizeof scratch - stream_.avail_out;
      exceeded_ = produced_ > limit_;
      stopped_ = exceeded_ || (status != Z_OK && status != Z_BUF_ERROR);  // at the end, or damaged
      // Done with this piece once its input is taken and the output has
      // stopped filling the scratch buffer.
      if (stopped_ || status == Z_BUF_ERROR || (stream_.avail_in == 0 && stream_.avail_out > 0)) break;
    }
  }
  bool Exceeded() const { return exceeded_; }
  uint64_t Produced() const { return produced_; }

 private:
  z_stream stream_{};
  uint64_t limit_;
  uint64_t produced_ = 0;
  bool ready_ = false;
  bool stopped_ = false;
  bool exceeded_ = false;
};

// Where a compressed metadata chunk's zlib stream starts within its data,
// or the data's size when the chunk holds none.
size_t metadataStreamStart(const uint8_t* data, size_t size, bool international) {
  const auto* end = data + size;
  const auto* keywordEnd = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  if (!keywordEnd) return size;
  const uint8_t* at = keywordEnd + 1;
  if (!international) return end - at >= 1 ? static_cast<size_t>(at + 1 - data) : size;  // method byte
  // Compression flag and method, language tag, translated keyword.
  if (end - at < 2 || at[0] != 1) return size;
  at += 2;
  for (int text = 0; text < 2; ++text) {
    const auto* textEnd = static_cast<const uint8_t*>(std::memchr(at, 0, static_cast<size_t>(end - at)));
    if (!textEnd) return size;
    at = textEnd + 1;
  }
  return static_cast<size_t>(at - data);
}

}  // namespace

uint64_t PngImageDataBytes(const uint8_t* bytes, size_t size) {
  if (!bytes || size < 33 || std::memcmp(bytes + 12, "IHDR", 4) != 0) return 0;
  const uint64_t width = big32(bytes + 16), height = big32(bytes + 20);
  const uint32_t depth = bytes[24], colourType = bytes[25], interlace = bytes[28];
  uint32_t channels = 0;
  switch (colourType) {
    case 0: channels = 1; break;
    case 2: channels = 3; break;
    case 3: channels = depth <= 8 ? 1 : 0; break;
    case 4: channels = 2; break;
    case 6: channels = 4; break;
    default: break;
  }
  const bool validDepth = depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
  if (channels == 0 || !validDepth || interlace > 1) return 0;
  const uint64_t bitsPerPixel = uint64_t{channels} * depth;
  auto passBytes = [&](uint64_t passWidth, uint64_t passHeight) {
    if (passWidth == 0 || passHeight == 0) return uint64_t{0};
    return passHeight * (1 + (passWidth * bitsPerPixel + 7) / 8);
  };
  if (interlace == 0) return passBytes(width, height);
  // Adam7: each pass starts at an offset and takes every step-th pixel.
  constexpr uint32_t kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                      {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  uint64_t total = 0;
  for (const auto& pass : kPasses) {
    const uint64_t passWidth = width > pass[0] ? (width - pass[0] + pass[2] - 1) / pass[2] : 0;
    const uint64_t passHeight = height > pass[1] ? (height - pass[1] + pass[3] - 1) / pass[3] : 0;
    total += passBytes(passWidth, passHeight);
  }
  return total;
}

uint64_t PngImageDataLimit(uint64_t needed) { return needed + needed / 16 + 4096; }

std::string CheckPngInflation(const uint8_t* bytes, size_t size) {
  if (!bytes || size < 8) return {};
  const uint64_t needed = PngImageDataBytes(bytes, size);
  InflateCounter imageData(PngImageDataLimit(needed));
  uint64_t metadata = 0;
  size_t at = 8;
  while (size - at >= 12) {
    const size_t length = big32(bytes + at);
    if (length > size - at - 12) break;
    const uint8_t* type = bytes + at + 4;
    const uint8_t* data = bytes + at + 8;
    if (std::memcmp(type, "IEND", 4) == 0) break;
    if (std::memcmp(type, "IDAT", 4) == 0) {
      imageData.Feed(data, length);
      if (imageData.Exceeded())
        return "the image data inflates to more than the " + std::to_string(needed) + " bytes a " +
               std::to_string(big32(bytes + 16)) + " x " + std::to_string(big32(bytes + 20)) + " image needs";
    }
    const bool text = std::memcmp(type, "zTXt", 4) == 0, international = std::memcmp(type, "iTXt", 4) == 0;
    if (text || international || std::memcmp(type, "iCCP", 4) == 0) {
      const size_t start = metadataStreamStart(data, length, international);
      InflateCounter chunk(kPngMetadataInflateLimit - metadata);
      chunk.Feed(data + start, length - start);
      if (chunk.Exceeded())
        return "its compressed text and colour profile chunks inflate to more than " +
               std::to_string(kPngMetadataInflateLimit >> 20) + " MiB";
      metadata += chunk.Produced();
    }
    at += 12 + length;
  }
  return {};
}
