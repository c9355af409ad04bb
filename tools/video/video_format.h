// The container and codecs a video file name asks for. Standard library only.
#pragma once

#include <string>

enum class VideoCodec { Av1, H264 };
enum class AudioCodec { Opus, Aac };

struct VideoFormat {
  const char* extension;  // lower case, with the dot
  const char* muxer;      // libavformat's short name of the container
  VideoCodec video;
  AudioCodec audio;
  const char* description;  // for messages, like "AV1 10-bit"
  int minimumSide;          // smallest width and height the encoder takes, in pixels
};

// The format for the extension of path, compared without regard to case;
// null for any other extension.
const VideoFormat* videoFormatForPath(const std::string& path);

// The extensions known, for messages: ".webm, .mkv or .mp4".
std::string knownVideoExtensions();
