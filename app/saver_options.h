// The command line of the screensaver: where to draw, how fast, whether to
// show the frame rate and play music. Standard library only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct SaverOptions {
  // FullScreen: a full-screen window of its own that the user's first key,
  // click or movement ends (Windows' "/s").
  enum class Target { OwnWindow, RootWindow, GivenWindow, FullScreen };
  Target target = Target::OwnWindow;
  unsigned long windowId = 0;  // for GivenWindow
  // Microseconds a frame takes at least; 0 keeps the normal 50 frames a second.
  long delayMicroseconds = 0;
  bool showFrameRate = false;
  bool sound = false;
  bool favourites = false;  // screens only from the viewer's favourites
  bool help = false;
  bool settings = false;  // asked for its settings: there are none to show
  bool version = false;
};

// Longest -delay accepted: one frame every ten seconds.
constexpr long kSaverLongestDelayMicroseconds = 10'000'000;

// Reads the arguments after the program name. screensaverWindow is the value
// of XSCREENSAVER_WINDOW (null when unset): XScreenSaver's window, which
// -root and a bare command mean when it is set. Each option may start with
// one dash or two; the options every XScreenSaver program takes are accepted,
// those about colours and visuals ignored. -window-id wins over -root and
// -window (XScreenSaver's settings ask for a preview with both); between
// -root and -window the last one counts. Returns the empty text on success,
// else a one-line error.
std::string parseSaverOptions(const std::vector<std::string>& arguments, const char* screensaverWindow,
                              SaverOptions& options);

// A window id as X programs print them: decimal, or hexadecimal after "0x".
// False for anything else, for 0 and for ids beyond 32 bits.
bool parseWindowId(std::string_view text, unsigned long& id);

// The usage text for the program started as programName, several lines
// ending in a line feed.
std::string saverUsage(std::string_view programName);

// The command line Windows hands a screensaver: "/s" (the show, full
// screen), "/p HWND" (the preview inside that window, as GivenWindow), "/c",
// "/c:HWND" or nothing (its settings). Case and "-" for "/" don't matter, a
// handle may also follow a colon, and "/sound" adds the music. Returns the
// empty text on success, else a one-line error.
std::string parseWindowsSaverOptions(const std::vector<std::string>& arguments, SaverOptions& options);

// This system's command line: XScreenSaver's on Linux, Windows' on Windows.
std::string parseSaverCommandLine(const std::vector<std::string>& arguments, SaverOptions& options);
