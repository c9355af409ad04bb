// The command line of driftglow-still: seeds, canvas size, frames, outputs
// (picture, description, video with its sound track) and data folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct StillOptions {
  int32_t seeds[3] = {0, 0, 0};  // structure, colour, parameters
  int width = 960;               // canvas units, also the image size in pixels
  int height = 960;
  int frames = 1;                 // viewer frames before the PNG is taken, and frames of the video
  std::string pngPath;            // empty: no image
  std::string jsonPath;           // empty: no description; "-": standard output
  std::string videoPath;          // empty: no video
  bool audio = false;             // a sound track in the video
  std::string audioTrack;         // empty: the viewer's first track
  std::string dataDir;            // empty: the default folder
  std::string renderer = "auto";  // "auto", "opengl" or "software"
  bool help = false;
  bool version = false;
};

// Exit codes of the tool.
constexpr int kStillOk = 0;
constexpr int kStillFailed = 1;      // the engine, the catalogue or an output file failed
constexpr int kStillBadRequest = 2;  // bad argument, missing data folder, or too large for the memory

// Largest canvas side accepted, in pixels.
constexpr int kStillMaxSide = 8192;
// Most frames accepted before the PNG.
constexpr int kStillMaxFrames = 1000000;
// Frames of a video when --frames is not given: five seconds.
constexpr int kStillDefaultVideoFrames = 250;

// Reads the arguments after the program name. Returns the empty text on
// success, otherwise a one-line description of the first bad argument.
std::string parseStillOptions(const std::vector<std::string>& arguments, StillOptions& options);

// The usage text, several lines ending in a line feed.
std::string stillUsage();

// The seeds as --seeds takes them: "12,34,56".
std::string seedsText(const StillOptions& options);
