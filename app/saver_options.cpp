// Parsing the command line of driftglow-saver.
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

std::string parseSaverOptions(const std::vector<std::string>& arguments, const char* screensaverWindow,
                              SaverOptions& options) {
  bool chosen = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string option = arguments[i];
    if (option.rfind("--", 0) == 0) option.erase(0, 1);
    if (option == "-help" || option == "-h") {
      options.help = true;
      return {};
    }
    if (option == "-sound") {
      options.sound = true;
      continue;
    }
    if (option != "-root" && option != "-window" && option != "-window-id") {
      return "unknown argument '" + arguments[i] + "' (see --help)";
    }
    if (chosen) return "give only one of -root, -window and -window-id";
    chosen = true;
    if (option == "-root") {
      options.target = SaverOptions::Target::RootWindow;
    } else if (option == "-window") {
      options.target = SaverOptions::Target::OwnWindow;
    } else {
      if (i + 1 >= arguments.size()) return "-window-id needs a window id";
      if (!parseWindowId(arguments[++i], options.windowId)) {
        return "-window-id wants an X window id (decimal or 0x...), not '" + arguments[i] + "'";
      }
      options.target = SaverOptions::Target::GivenWindow;
    }
  }
  // XScreenSaver hands its window over in the environment; it stands for
  // the root window and for the default.
  const bool useScreensaverWindow =
      screensaverWindow && *screensaverWindow && (!chosen || options.target == SaverOptions::Target::RootWindow);
  if (useScreensaverWindow) {
    if (!parseWindowId(screensaverWindow, options.windowId)) {
      return std::string("XSCREENSAVER_WINDOW does not hold a window id: '") + screensaverWindow + "'";
    }
    options.target = SaverOptions::Target::GivenWindow;
  }
  return {};
}

std::string saverUsage() {
  return "usage: driftglow-saver [-window | -root | -window-id ID] [--sound]\n"
         "Driftglow's automatic show as a screensaver: no question, no overlay, no keys.\n"
         "  -window         draw into a window of its own (the default)\n"
         "  -root           draw into the root window\n"
         "  -window-id ID   draw into the X window ID (decimal or 0x...)\n"
         "  --sound         play the music (silent without it)\n"
         "Under XScreenSaver, XSCREENSAVER_WINDOW names the window for -root and the default.\n"
         "SIGTERM or SIGINT ends it with exit code 0; a bad argument gives 2, a missing\n"
         "window, display or data folder 1.\n";
}
