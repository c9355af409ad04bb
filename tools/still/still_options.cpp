// Parsing the command line of driftglow-still.
#include "tools/still/still_options.h"

#include <cctype>
#include <charconv>
#include <string_view>

#include "tools/video/video_format.h"

namespace {

// A whole decimal number from min to max, the whole text and nothing else.
bool readNumber(std::string_view text, long long min, long long max, long long& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end && value >= min && value <= max;
}

std::string readSeeds(std::string_view text, StillOptions& options) {
  const std::string bad = "--seeds wants three whole numbers from 1 to 2147483647, like 1,2,3";
  for (int i = 0; i < 3; ++i) {
    const size_t comma = i < 2 ? text.find(',') : text.size();
    if (comma == std::string_view::npos) return bad;
    long long seed = 0;
    if (!readNumber(text.substr(0, comma), 1, 2147483647, seed)) return bad;
    options.seeds[i] = static_cast<int32_t>(seed);
    text.remove_prefix(i < 2 ? comma + 1 : comma);
  }
  return {};
}

std::string readSize(std::string_view text, StillOptions& options) {
  const std::string bad =
      "--size wants WIDTHxHEIGHT, each from 1 to " + std::to_string(kStillMaxSide) + ", like 960x960";
  const size_t cross = text.find('x');
  long long width = 0, height = 0;
  if (cross == std::string_view::npos || !readNumber(text.substr(0, cross), 1, kStillMaxSide, width) ||
      !readNumber(text.substr(cross + 1), 1, kStillMaxSide, height)) {
    return bad;
  }
  options.width = static_cast<int>(width);
  options.height = static_cast<int>(height);
  return {};
}

// True when the file name (after the last '/') ends in ".png", in any case.
bool endsInPng(std::string_view path) {
  const std::string_view name = path.substr(path.find_last_of('/') + 1);  // npos + 1 is 0: the whole path
  if (name.size() < 4) return false;
  std::string extension(name.substr(name.size() - 4));
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".png";
}

}  // namespace

std::string parseStillOptions(const std::vector<std::string>& arguments, StillOptions& options) {
  bool haveSeeds = false;
  bool haveFrames = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--help" || option == "-h") {
      options.help = true;
      return {};
    }
    if (option == "--version") {
      options.version = true;
      return {};
    }
    // The track name is optional: whatever follows is an option, or nothing.
    if (option == "--audio") {
      options.audio = true;
      if (i + 1 < arguments.size() && arguments[i + 1].rfind('-', 0) != 0) {
        options.audioTrack = arguments[++i];
        if (options.audioTrack.empty()) return "--audio wants a track name, or nothing for the first track";
      }
      continue;
    }
    const bool known = option == "--seeds" || option == "--size" || option == "--frames" || option == "--png" ||
                       option == "--json" || option == "--data" || option == "--video" || option == "--renderer";
    if (!known) return "unknown argument '" + option + "' (see --help)";
    if (i + 1 >= arguments.size()) return option + " needs a value";
    const std::string& value = arguments[++i];
    std::string error;
    if (option == "--seeds") {
      error = readSeeds(value, options);
      haveSeeds = error.empty();
    } else if (option == "--size") {
      error = readSize(value, options);
    } else if (option == "--frames") {
      long long frames = 0;
      if (!readNumber(value, 1, kStillMaxFrames, frames)) {
        error = "--frames wants a whole number from 1 to " + std::to_string(kStillMaxFrames);
      }
      options.frames = static_cast<int>(frames);
      haveFrames = true;
    } else if (option == "--renderer") {
      if (value != "auto" && value != "opengl" && value != "software")
        error = "--renderer wants auto, opengl or software";
      options.renderer = value;
    } else if (value.empty()) {
      error = option + " needs a non-empty value";
    } else if (option == "--png") {
      // Whatever the name says is what a viewer expects inside.
      if (!endsInPng(value)) return "--png FILE must end in .png: '" + value + "'";
      options.pngPath = value;
    } else if (option == "--json") {
      options.jsonPath = value;
    } else if (option == "--video") {
      if (!videoFormatForPath(value)) return "--video FILE must end in " + knownVideoExtensions() + ": '" + value + "'";
      options.videoPath = value;
    } else {
      options.dataDir = value;
    }
    if (!error.empty()) return error;
  }
  if (!haveSeeds) return "--seeds S,C,P is required";
  if (options.audio && options.videoPath.empty()) return "--audio needs --video FILE";
  if (options.pngPath.empty() && options.jsonPath.empty() && options.videoPath.empty()) {
    return "nothing to write: give --png FILE, --json FILE and/or --video FILE";
  }
  if (!options.videoPath.empty()) {
    // 4:2:0 video keeps one colour sample per two by two pixels.
    if (options.width % 2 || options.height % 2) return "--video needs an even width and height, like 960x960";
    const int side = videoFormatForPath(options.videoPath)->minimumSide;
    if (options.width < side || options.height < side) {
      return "--video " + options.videoPath + " needs a width and height of at least " + std::to_string(side);
    }
    if (!haveFrames) options.frames = kStillDefaultVideoFrames;
  }
  return {};
}

std::string stillUsage() {
  return "usage: driftglow-still --seeds S,C,P [--size WxH] [--frames N] [--png FILE] [--json FILE]\n"
         "                       [--video FILE [--audio [TRACK]]] [--data DIR] [--renderer auto|opengl|software]\n"
         "Builds the viewer's screen for the three seeds (structure, colour, parameters) without a window.\n"
         "  --size WxH       canvas in pixels (default 960x960)\n"
         "  --frames N       viewer frames of automatic motion before the image is taken, and the\n"
         "                   frames of the video at 50 per second (default 1, with --video 250)\n"
         "  --png FILE       the picture after those frames (FILE must end in .png)\n"
         "  --json FILE      the screen as generated, before any frame (\"-\" for standard output)\n"
         "  --video FILE     every frame as a video: .webm or .mkv (AV1 10-bit, Opus sound) or\n"
         "                   .mp4 (H.264, AAC sound); width and height must be even\n"
         "  --audio [TRACK]  add a track from Sound.paq (MoonGarden, Kalliope or Mercury; default\n"
         "                   MoonGarden), cut to the video's length with a one-second fade-out\n"
         "  --data DIR       folder with pix/, Graphics.paq and Sound.paq (default: the working\n"
         "                   directory when it holds pix/, else the installed data, else the\n"
         "                   build's run folder)\n"
         "  --renderer R     auto (default): OpenGL without a display when it starts, else software;\n"
         "                   software gives the same PNG on every machine; opengl fails when it can't start\n"
         "  --version        print the version\n"
         "A bad argument, a missing data folder (or one without pix/), an unknown track or an OpenGL\n"
         "renderer that can't start when asked for ends with exit code 2; a file that can't be\n"
         "written ends with exit code 1 and leaves nothing behind.\n";
}

std::string seedsText(const StillOptions& options) {
  return std::to_string(options.seeds[0]) + "," + std::to_string(options.seeds[1]) + "," +
         std::to_string(options.seeds[2]);
}
