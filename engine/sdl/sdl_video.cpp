// Refuses SDL's display-less video drivers unless they were asked for.
#include "engine/sdl/sdl_video.h"

#include <SDL2/SDL_hints.h>

#include <cctype>
#include <cstring>

namespace {

std::string lowerCase(const char* text) {
  std::string result = text ? text : "";
  for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

bool displayless(const std::string& driver) { return driver == "offscreen" || driver == "dummy" || driver == "evdev"; }

}  // namespace

bool InitDisplayVideo(SubsystemReference& video, std::string* error) {
  if (!video.Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS)) {
    if (error) *error = SDL_GetError();
    return false;
  }
  const std::string driver = lowerCase(SDL_GetCurrentVideoDriver());
  const std::string requested = lowerCase(SDL_GetHint(SDL_HINT_VIDEODRIVER));
  if (displayless(driver) && requested.find(driver) == std::string::npos) {
    video.Reset();
    if (error) *error = "No display available (SDL found only its \"" + driver + "\" video driver)";
    return false;
  }
  return true;
}

int PointerDisplay() {
  int x = 0, y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  const SDL_Point pointer{x, y};
  const int displays = SDL_GetNumVideoDisplays();
  for (int display = 0; display < displays; ++display) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(display, &bounds) == 0 && SDL_PointInRect(&pointer, &bounds)) return display;
  }
  return 0;
}

int RenderDriverIndex(const char* name) {
  for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
    SDL_RendererInfo info;
    if (SDL_GetRenderDriverInfo(i, &info) == 0 && info.name && std::strcmp(info.name, name) == 0) return i;
  }
  return -1;
}
