// XScreenSaver's command line, with the window it hands over in the environment.
#include <cstdlib>

#include "app/saver_options.h"

std::string parseSaverCommandLine(const std::vector<std::string>& arguments, SaverOptions& options) {
  return parseSaverOptions(arguments, std::getenv("XSCREENSAVER_WINDOW"), options);
}
