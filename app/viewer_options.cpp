// Parsing the viewer's command line.
#include "app/viewer_options.h"

#include "app/seeds_text.h"

std::string parseViewerOptions(const std::vector<std::string>& arguments, ViewerOptions& options) {
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
    if (option == "--window" || option == "--full-screen") {
      const auto display = option == "--window" ? ViewerOptions::Display::Window : ViewerOptions::Display::FullScreen;
      if (options.display != ViewerOptions::Display::Ask && options.display != display)
        return "give only one of --window and --full-screen";
      options.display = display;
    } else if (option == "--favourites") {
      options.favourites = true;
    } else if (option == "--seeds") {
      if (i + 1 >= arguments.size()) return "--seeds needs three seeds, like 12,34,56";
      if (!parseSeedsText(arguments[++i], options.seeds))
        return "--seeds wants three whole numbers from 1 to 2147483647, like 12,34,56, not '" + arguments[i] + "'";
      options.haveSeeds = true;
    } else {
      return "unknown argument '" + option + "' (see --help)";
    }
  }
  return {};
}

std::string viewerUsage() {
  return "usage: driftglow [--window | --full-screen] [--seeds S,C,P] [--favourites]\n"
         "Driftglow's generative art. Without --window or --full-screen it asks \"Run full screen?\".\n"
         "  --window        run in a window\n"
         "  --full-screen   run full screen\n"
         "  --seeds S,C,P   start on the screen with these seeds (structure, colour, parameters)\n"
         "  --favourites    new screens only from the favourites (kept with F)\n"
         "  --help          this text\n"
         "  --version       the version\n"
         "Keys: P saves the picture, F keeps the screen as a favourite, B or Backspace goes back.\n"
         "Pictures go to $XDG_PICTURES_DIR/Driftglow (~/Pictures/Driftglow), favourites to\n"
         "$XDG_DATA_HOME/driftglow/favourites (~/.local/share/driftglow/favourites).\n"
         "Each new screen's seeds are written on standard output. A bad argument gives exit code 2.\n";
}
