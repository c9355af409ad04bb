// The command line of the viewer: the full-screen question answered in
// advance, a first screen by its seeds, screens from the favourites, help
// and version. Standard library only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ViewerOptions {
  enum class Display { Ask, Window, FullScreen };
  Display display = Display::Ask;  // Ask: the question "Run full screen?"
  bool haveSeeds = false;
  int32_t seeds[3] = {0, 0, 0};  // the first screen, when haveSeeds
  bool favourites = false;       // new screens from the favourites file
  bool help = false;
  bool version = false;
};

// Reads the arguments after the program name; no arguments leave every
// default. Returns the empty text on success, else a one-line error.
std::string parseViewerOptions(const std::vector<std::string>& arguments, ViewerOptions& options);

// The usage text, several lines ending in a line feed.
std::string viewerUsage();
