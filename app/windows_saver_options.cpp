// Parsing the command line Windows hands a screensaver. Standard library only,
// so it is built and tested on every system.
#include <algorithm>
#include <cctype>

#include "app/saver_options.h"

namespace {

std::string lowered(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Window handles come in decimal; 64-bit Windows keeps them within 32 bits.
bool parseHandle(const std::string& text, unsigned long& handle) {
  if (text.empty() || text.size() > 10 || !std::all_of(text.begin(), text.end(), ::isdigit)) return false;
  const unsigned long long value = std::stoull(text);
  if (value == 0 || value > 0xFFFFFFFFull) return false;
  handle = static_cast<unsigned long>(value);
  return true;
}

}  // namespace

std::string parseWindowsSaverOptions(const std::vector<std::string>& arguments, SaverOptions& options) {
  options.settings = true;  // what no argument at all means
  bool chosen = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string option = lowered(arguments[i]);
    if (option.size() < 2 || (option[0] != '/' && option[0] != '-')) {
      return "unknown argument '" + arguments[i] + "' (use /s, /p HWND or /c)";
    }
    option.erase(0, option[1] == '-' ? 2 : 1);
    if (option == "sound") {
      options.sound = true;
      continue;
    }
    std::string handle;
    const size_t colon = option.find(':');
    if (colon != std::string::npos) {
      handle = option.substr(colon + 1);
      option.erase(colon);
    }
    if (option != "s" && option != "p" && option != "c") {
      return "unknown argument '" + arguments[i] + "' (use /s, /p HWND or /c)";
    }
    if (chosen) return "give only one of /s, /p and /c";
    chosen = true;
    options.settings = option == "c";
    if (option == "s") options.target = SaverOptions::Target::FullScreen;
    if (option != "p") continue;
    if (handle.empty()) {
      if (i + 1 >= arguments.size()) return "/p needs a window handle";
      handle = arguments[++i];
    }
    if (!parseHandle(handle, options.windowId)) return "/p wants a window handle in decimal, not '" + handle + "'";
    options.target = SaverOptions::Target::GivenWindow;
  }
  return {};
}
