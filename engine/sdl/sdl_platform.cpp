// Message boxes and the desktop size through SDL; nothing of SDL stays
// initialised between calls.
#include "engine/sdl/sdl_platform.h"

#include <cstdio>
#include <ctime>

#include "engine/sdl/sdl_handles.h"
#include "engine/sdl/sdl_video.h"
#include "engine/sdl/stop_signals.h"

namespace {

constexpr DesktopSize kFallbackDesktop{1920, 1080};

class SdlPlatform : public Platform {
 public:
  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override;
  DesktopSize GetDesktopSize() override;
  int64_t NowSeconds() override { return static_cast<int64_t>(std::time(nullptr)); }
};

int SdlPlatform::ShowMessage(const std::string& text, const std::string& caption, unsigned style) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  const bool question = (style & 0xF) == kMbYesNo;
  const int fallback = question ? kIdNo : kIdOk;

  const SDL_MessageBoxButtonData yesNo[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kIdYes, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kIdNo, "No"},
  };
  const SDL_MessageBoxButtonData ok[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kIdOk, "OK"},
  };
  SDL_MessageBoxData box{};
  box.flags = ((style & kMbIconError) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION) |
              SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
  box.title = caption.c_str();
  box.message = text.c_str();
  box.numbuttons = question ? 2 : 1;
  box.buttons = question ? yesNo : ok;
  int answer = -1;
  // SDL's box runs its own event loop, which no signal can end.
  UninterruptibleWait wait;
  if (SDL_ShowMessageBox(&box, &answer) != 0) {
    std::fprintf(stderr, "(no message box could be shown: %s; answered %s)\n", SDL_GetError(), question ? "No" : "OK");
    return fallback;
  }
  // -1: the box was closed without a button.
  return answer == kIdYes || answer == kIdNo || answer == kIdOk ? answer : fallback;
}

DesktopSize SdlPlatform::GetDesktopSize() {
  SubsystemReference video;
  std::string reason;
  SDL_DisplayMode mode{};
  if (InitDisplayVideo(video, &reason)) {
    if (SDL_GetDesktopDisplayMode(PointerDisplay(), &mode) == 0 && mode.w > 0 && mode.h > 0) return {mode.w, mode.h};
    reason = SDL_GetError();
  }
  std::fprintf(stderr, "Desktop size unknown (%s); assuming %d x %d.\n", reason.c_str(), kFallbackDesktop.width,
               kFallbackDesktop.height);
  return kFallbackDesktop;
}

}  // namespace

std::unique_ptr<Platform> CreateSdlPlatform() { return std::make_unique<SdlPlatform>(); }
