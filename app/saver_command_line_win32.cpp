// The command line Windows hands a screensaver.
#include "app/saver_options.h"

std::string parseSaverCommandLine(const std::vector<std::string>& arguments, SaverOptions& options) {
  return parseWindowsSaverOptions(arguments, options);
}
