// Extension to container and codecs. WebM and Matroska carry 10-bit AV1 with
// Opus; MP4 carries 8-bit H.264 with AAC, the pair every player and phone plays.
#include "tools/video/video_format.h"

#include <algorithm>
#include <cctype>
#include <iterator>

namespace {

constexpr VideoFormat kFormats[] = {
    {".webm", "webm", VideoCodec::Av1, AudioCodec::Opus, "AV1 10-bit", 64},
    {".mkv", "matroska", VideoCodec::Av1, AudioCodec::Opus, "AV1 10-bit", 64},
    {".mp4", "mp4", VideoCodec::H264, AudioCodec::Aac, "H.264", 2},
};

}  // namespace

const VideoFormat* videoFormatForPath(const std::string& path) {
  const size_t dot = path.rfind('.');
  const size_t slash = path.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return nullptr;
  std::string extension = path.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const VideoFormat& format : kFormats) {
    if (extension == format.extension) return &format;
  }
  return nullptr;
}

std::string knownVideoExtensions() {
  std::string text;
  for (size_t i = 0; i < std::size(kFormats); ++i) {
    if (i > 0) text += i + 1 < std::size(kFormats) ? ", " : " or ";
    text += kFormats[i].extension;
  }
  return text;
}
