// Parsing the command line of driftglow-still.
#include "tools/still/still_options.h"

#include <charconv>
#include <string_view>

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
  const std::string bad = "--size wants WIDTHxHEIGHT, each from 1 to " + std::to_string(kStillMaxSide) + ", like 960x960";
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

}  // namespace

std::string parseStillOptions(const std::vector<std::string>& arguments, StillOptions& options) {
  bool haveSeeds = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--help" || option == "-h") {
      options.help = true;
      return {};
    }
    const bool known = option == "--seeds" || option == "--size" || option == "--frames" || option == "--png" ||
                       option == "--json" || option == "--data";
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
    } else if (value.empty()) {
      error = option + " needs a non-empty value";
    } else if (option == "--png") {
      options.pngPath = value;
    } else if (option == "--json") {
      options.jsonPath = value;
    } else {
      options.dataDir = value;
    }
    if (!error.empty()) return error;
  }
  if (!haveSeeds) return "--seeds S,C,P is required";
  if (options.pngPath.empty() && options.jsonPath.empty()) return "nothing to write: give --png FILE and/or --json FILE";
  return {};
}

std::string stillUsage() {
  return "usage: driftglow-still --seeds S,C,P [--size WxH] [--frames N] [--png FILE] [--json FILE] [--data DIR]\n"
         "Builds the viewer's screen for the three seeds (structure, colour, parameters) without a window.\n"
         "  --size WxH    canvas in pixels (default 960x960)\n"
         "  --frames N    viewer frames of automatic motion before the image is taken (default 1)\n"
         "  --png FILE    the picture after those frames\n"
         "  --json FILE   the screen as generated, before any frame (\"-\" for standard output)\n"
         "  --data DIR    folder with pix/ and Graphics.paq (default: the working directory when it\n"
         "                holds pix/, else the installed data, else the build's run folder)\n"
         "A bad argument or a missing data folder (or one without pix/) ends with exit code 2.\n";
}
