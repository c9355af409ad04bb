// Parsing the command line of the screensaver.
#include "app/saver_options.h"

#include <charconv>

bool parseWindowId(std::string_view text, unsigned long& id) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  if (text.empty()) return false;
  unsigned long value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, base);
  // X resource ids have 29 significant bits; anything past 32 is surely not one.
  if (error != std::errc() || stop != end || value == 0 || value > 0xFFFFFFFFul) return false;
  id = value;
  return true;
}

namespace {

bool parseDelay(std::string_view text, long& microseconds) {
  long value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < 0 || value > kSaverLongestDelayMicroseconds)
    return false;
  microseconds = value;
  return true;
}

}  // namespace

std::string parseSaverOptions(const std::vector<std::string>& arguments, const char* screensaverWindow,
                              SaverOptions& options) {
  bool placeChosen = false;  // -root or -window
  bool idGiven = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string option = arguments[i];
    if (option.rfind("--", 0) == 0) option.erase(0, 1);
    const bool hasValue = i + 1 < arguments.size();
    if (option == "-help" || option == "-h") {
      options.help = true;
      return {};
    }
    if (option == "-version") {
      options.version = true;
      return {};
    }
    if (option == "-sound") {
      options.sound = true;
    } else if (option == "-favourites") {
      options.favourites = true;
    } else if (option == "-fps") {
      options.showFrameRate = true;
    } else if (option == "-no-fps") {
      options.showFrameRate = false;
    } else if (option == "-install" || option == "-noinstall" || option == "-mono" || option == "-pair") {
      // Colour maps, monochrome and stereo pairs: nothing to do for a true-colour show.
    } else if (option == "-visual") {
      if (!hasValue) return "-visual needs a visual name";
      ++i;
    } else if (option == "-delay") {
      if (!hasValue) return "-delay needs a number of microseconds";
      if (!parseDelay(arguments[++i], options.delayMicroseconds)) {
        return "-delay wants microseconds from 0 to " + std::to_string(kSaverLongestDelayMicroseconds) + ", not '" +
               arguments[i] + "'";
      }
    } else if (option == "-root" || option == "-window") {
      placeChosen = true;
      if (!idGiven)
        options.target = option == "-root" ? SaverOptions::Target::RootWindow : SaverOptions::Target::OwnWindow;
    } else if (option == "-window-id") {
      if (!hasValue) return "-window-id needs a window id";
      if (!parseWindowId(arguments[++i], options.windowId)) {
        return "-window-id wants an X window id (decimal or 0x...), not '" + arguments[i] + "'";
      }
      idGiven = true;
      options.target = SaverOptions::Target::GivenWindow;
    } else {
      return "unknown argument '" + arguments[i] + "' (see --help)";
    }
  }
  // XScreenSaver hands its window over in the environment; it stands for
  // the root window and for the default.
  const bool useScreensaverWindow = !idGiven && screensaverWindow && *screensaverWindow &&
                                    (!placeChosen || options.target == SaverOptions::Target::RootWindow);
  if (useScreensaverWindow) {
    if (!parseWindowId(screensaverWindow, options.windowId)) {
      return std::string("XSCREENSAVER_WINDOW does not hold a window id: '") + screensaverWindow + "'";
    }
    options.target = SaverOptions::Target::GivenWindow;
  }
  return {};
}

std::string saverUsage(std::string_view programName) {
  std::string usage = "usage: ";
  usage += programName;
  usage +=
      " [-window | -root | -window-id ID] [-delay MICROSECONDS] [-fps] [--sound] [--favourites]\n"
      "Driftglow's automatic show as a screensaver: no question, no overlay, no keys.\n"
      "  -window         draw into a window of its own (the default)\n"
      "  -root           draw into the root window\n"
      "  -window-id ID   draw into the X window ID (decimal or 0x...); wins over -root\n"
      "  -delay N        at least N microseconds per frame (0, the default: 50 frames a second)\n"
      "  -fps            show the frame rate in the lower left corner (-no-fps: don't)\n"
      "  --sound         play the music (silent without it)\n"
      "  --favourites    show only the screens kept with F in the viewer\n"
      "  --version       print the version\n"
      "Options may start with one dash or two. -install, -noinstall, -visual V, -mono and\n"
      "-pair are accepted and ignored. Under XScreenSaver, XSCREENSAVER_WINDOW names the\n"
      "window for -root and the default.\n"
      "SIGTERM or SIGINT ends it with exit code 0, and so does the loss of its window;\n"
      "a bad argument gives 2, a missing window, display or data folder 1.\n";
  return usage;
}
