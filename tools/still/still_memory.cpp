// The per-pixel costs below were measured as peak resident memory at canvas
// sizes from 960 x 960 to 4096 x 4096 and rounded up: SVT-AV1 keeps many
// 10-bit pictures for its look-ahead, x264 fewer 8-bit ones.
#include "tools/still/still_memory.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "tools/video/video_format.h"

namespace {

// The program, its libraries and the catalogue, before the canvas counts.
constexpr int64_t kBaseBytes = int64_t{160} << 20;
// Drawing target, its read-back and the picture being encoded.
constexpr int64_t kStillBytesPerPixel = 28;
constexpr int64_t kAv1BytesPerPixel = 125;
constexpr int64_t kH264BytesPerPixel = 48;

std::string gibibytes(int64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f GiB", static_cast<double>(bytes) / static_cast<double>(int64_t{1} << 30));
  return text;
}

}  // namespace

int64_t stillMemoryNeed(const StillOptions& options) {
  int64_t perPixel = kStillBytesPerPixel;
  if (const VideoFormat* format = options.videoPath.empty() ? nullptr : videoFormatForPath(options.videoPath))
    perPixel = std::max(perPixel, format->video == VideoCodec::Av1 ? kAv1BytesPerPixel : kH264BytesPerPixel);
  return kBaseBytes + perPixel * options.width * options.height;
}

int64_t stillMemoryLimit() {
  std::ifstream meminfo("/proc/meminfo");
  std::string name;
  int64_t kibibytes = 0;
  std::string unit;
  while (meminfo >> name >> kibibytes >> unit)
    if (name == "MemAvailable:" && kibibytes > 0) return std::min(kStillMemoryCeilingBytes, kibibytes * 1024);
  return kStillMemoryCeilingBytes;
}

std::string stillMemoryRefusal(const StillOptions& options, int64_t needBytes, int64_t limitBytes) {
  if (needBytes <= limitBytes) return {};
  const std::string what = options.videoPath.empty() ? "picture" : "video";
  return "a " + std::to_string(options.width) + "x" + std::to_string(options.height) + " " + what +
         " would need about " + gibibytes(needBytes) + " of memory, more than the " + gibibytes(limitBytes) +
         " it may take here; give a smaller --size";
}
