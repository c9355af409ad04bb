// The few operating-system services the program needs besides the engine:
// message boxes, the desktop size, the clock and folder listings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Message box styles and answers, numbered as on Windows.
constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbSystemModal = 0x1000;
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

struct DesktopSize {
  int width = 0;
  int height = 0;
};

struct DirectoryEntry {
  std::string name;  // file name without its folder
  bool isDirectory = false;
};

class Platform {
 public:
  virtual ~Platform() = default;
  // Shows a modal message and returns the answer (kIdYes, kIdNo or kIdOk).
  virtual int ShowMessage(const std::string& text, const std::string& caption, unsigned style) = 0;
  virtual DesktopSize GetDesktopSize() = 0;
  // Calendar time in whole seconds.
  virtual int64_t NowSeconds() = 0;
};

// Entries of a folder matching a pattern such as "pix\*.png" ("*" and "?"
// wildcards, matched case-insensitively in the last component; "\" or "/"
// separates folders), sorted by name compared case-insensitively so that
// every machine lists them in the same order. Empty when the folder is missing.
std::vector<DirectoryEntry> ListDirectory(const std::string& pattern);
